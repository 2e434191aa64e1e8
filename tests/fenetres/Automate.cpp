#include "Automate.h"

#include "fenetres/BoiteMessage.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace emporteur::test {

Automate::Automate() {
    connect(&minuterie_, &QTimer::timeout, this, &Automate::Examiner);
    minuterie_.start(10);
}

void Automate::Quand(Reconnaitre reconnaitre, Agir agir) {
    attentes_.push_back({std::move(reconnaitre), std::move(agir)});
}

void Automate::RepondreBoite(const QString& extrait, Reponse identifiant) {
    Quand([extrait](QWidget* f) { return TexteBoite(f).contains(extrait); },
          [identifiant](QWidget* f) {
              auto* bouton = static_cast<fenetres::BoiteMessage*>(f)->Bouton(identifiant);
              if (bouton) bouton->click();
          });
}

QString TexteBoite(QWidget* fenetre) {
    if (!qobject_cast<fenetres::BoiteMessage*>(fenetre)) return {};
    auto* texte = fenetre->findChild<QLabel*>("texte");
    return texte ? texte->text() : QString();
}

void Automate::Examiner() {
    QWidget* fenetre = QApplication::activeModalWidget();
    if (!fenetre || fenetre == traitee_ || !fenetre->isVisible()) return;
    traitee_ = fenetre;
    const QString nom =
        TexteBoite(fenetre).isEmpty() ? fenetre->windowTitle() : TexteBoite(fenetre);
    vues_.push_back(nom);
    if (!attentes_.empty() && attentes_.front().reconnaitre(fenetre)) {
        auto attente = std::move(attentes_.front());
        attentes_.pop_front();
        attente.agir(fenetre);
        return;
    }
    inattendues_.push_back(nom);
    if (auto* dialogue = qobject_cast<QDialog*>(fenetre))
        dialogue->reject();
    else
        fenetre->close();
}

bool Attendre(const std::function<bool()>& condition, int ms) {
    QDeadlineTimer limite(ms);
    while (!condition()) {
        if (limite.hasExpired()) return false;
        QTest::qWait(10);
    }
    return true;
}

} // namespace emporteur::test
