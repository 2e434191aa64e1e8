#include "http/win32/FilWinInet.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace emporteur {

struct FilWinInet::Etat {
    std::mutex verrou;
    std::condition_variable signal;
    Appel travail;
    bool aFaire = false, fini = false, arreter = false;
    Issue issue;
    std::vector<char> tampon;
    std::thread fil;
};

FilWinInet::FilWinInet(std::size_t tailleTampon) : etat_(std::make_shared<Etat>()) {
    etat_->tampon.resize(tailleTampon);
    etat_->fil = std::thread([e = etat_] { Boucle(e); });
}

FilWinInet::~FilWinInet() {
    {
        std::lock_guard<std::mutex> garde(etat_->verrou);
        etat_->arreter = true;
    }
    etat_->signal.notify_all();
    // Pris dans un appel abandonné : il finira seul, l'état le suit.
    if (abandonne_)
        etat_->fil.detach();
    else
        etat_->fil.join();
}

void FilWinInet::Boucle(std::shared_ptr<Etat> etat) {
    std::unique_lock<std::mutex> garde(etat->verrou);
    for (;;) {
        etat->signal.wait(garde, [&] { return etat->aFaire || etat->arreter; });
        if (!etat->aFaire) return;
        Appel travail = std::move(etat->travail);
        etat->aFaire = false;
        garde.unlock();
        Issue issue;
        issue.Fait = travail(etat->tampon, issue.N);
        if (!issue.Fait) issue.Erreur = GetLastError();
        garde.lock();
        etat->issue = issue;
        etat->fini = true;
        etat->signal.notify_all();
    }
}

bool FilWinInet::Executer(Appel appel, const std::function<bool()>& continuer, Issue& issue) {
    if (abandonne_) return false;
    std::unique_lock<std::mutex> garde(etat_->verrou);
    etat_->travail = std::move(appel);
    etat_->aFaire = true;
    etat_->fini = false;
    etat_->signal.notify_all();
    while (!etat_->signal.wait_for(garde, std::chrono::seconds(1), [&] { return etat_->fini; })) {
        garde.unlock();
        const bool encore = continuer();
        garde.lock();
        if (!encore && !etat_->fini) {
            abandonne_ = true;
            return false;
        }
    }
    issue = etat_->issue;
    return true;
}

const std::vector<char>& FilWinInet::Tampon() const {
    return etat_->tampon;
}

} // namespace emporteur
