#pragma once
// Un travail qui ne doit pas tenir le fil de l'interface (réseau, attentes) : il
// tourne sur son propre fil, et sa suite est appelée ensuite sur le fil de
// l'interface, par la boucle d'événements. Pendant ce temps l'assistant se repeint et
// répond ; ses questions passent par InterfaceQt, qui les pose sur le fil de l'interface.
//
// Un seul travail à la fois. Le fil est joint au travail suivant ou à la destruction ;
// Demarrer ne détruit jamais un travail en cours (voir TravailEnCours).

#include <QObject>
#include <QPointer>

#include <atomic>
#include <functional>
#include <thread>

namespace emporteur::fenetres {

class TravailDeFond {
  public:
    // `destinataire` : l'objet du fil de l'interface qui reçoit la suite.
    explicit TravailDeFond(QObject* destinataire) : destinataire_(destinataire) {}
    ~TravailDeFond();
    TravailDeFond(const TravailDeFond&) = delete;
    TravailDeFond& operator=(const TravailDeFond&) = delete;

    // Faux (rien n'est lancé) si un travail tourne encore.
    bool Lancer(std::function<void()> travail, std::function<void()> suite);
    bool EnCours() const { return enCours_.load(); }

  private:
    QPointer<QObject> destinataire_;
    std::thread fil_;
    std::atomic<bool> enCours_{false};
};

// Vrai si un travail de fond d'une page tourne encore (le processus ne peut alors
// pas détruire ce qu'il lit).
bool TravailEnCours();

} // namespace emporteur::fenetres
