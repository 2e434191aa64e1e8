#pragma once
// Le vrai squid pour les tests : mandataire qui met en cache (en mémoire), écoute sur
// 127.0.0.1 à un port libre. Une demande de plage fait venir et garder l'objet entier
// (range_offset_limit -1, réglage courant des caches de mises à jour) ; sans date
// d'expiration, l'objet reste frais une heure. Arrêté à la destruction.

#include "outils/DossierTemporaire.h"
#include "outils/ProcessusServeur.h"

#include <memory>
#include <string>

namespace emporteur::test {

class MandataireSquid {
  public:
    // Lève si squid ne démarre pas.
    MandataireSquid();
    ~MandataireSquid();

    int Port() const { return port_; }
    // Journal d'accès de squid (TCP_MISS, TCP_HIT, TCP_CLIENT_REFRESH_MISS…).
    std::string Journal() const;

  private:
    DossierTemporaire dossier_;
    int port_ = 0;
    std::unique_ptr<ProcessusServeur> processus_;
};

// Vrai si squid est installé.
bool SquidPresent();

} // namespace emporteur::test
