#include "fenetres/TravailDeFond.h"

#include <QMetaObject>

namespace emporteur::fenetres {

namespace {
// Travaux de fond en cours dans tout le processus.
std::atomic<int> travaux{0};
} // namespace

bool TravailEnCours() {
    return travaux.load() > 0;
}

TravailDeFond::~TravailDeFond() {
    if (fil_.joinable()) fil_.join();
}

bool TravailDeFond::Lancer(std::function<void()> travail, std::function<void()> suite) {
    if (enCours_.load()) return false;
    if (fil_.joinable()) fil_.join();
    enCours_.store(true);
    ++travaux;
    fil_ = std::thread([this, travail = std::move(travail), suite = std::move(suite)] {
        travail();
        // La suite part avant que le travail se dise fini : qui voit « fini » peut joindre.
        QMetaObject::invokeMethod(
            destinataire_.data(), [suite] { suite(); }, Qt::QueuedConnection);
        enCours_.store(false);
        --travaux;
    });
    return true;
}

} // namespace emporteur::fenetres
