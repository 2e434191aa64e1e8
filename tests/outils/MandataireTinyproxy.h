#pragma once
// Le vrai tinyproxy pour les tests : écoute sur 127.0.0.1 à un port libre, n'accepte
// que 127.0.0.1, journal dans un dossier temporaire ; avec identifiants, il exige
// l'authentification Basic (vrai 407). Arrêté à la destruction.

#include "outils/DossierTemporaire.h"
#include "outils/ProcessusServeur.h"

#include <memory>
#include <string>

namespace emporteur::test {

class MandataireTinyproxy {
  public:
    // Utilisateur vide : pas d'authentification. Lève si tinyproxy ne démarre pas.
    explicit MandataireTinyproxy(const std::string& utilisateur = {},
                                 const std::string& motDePasse = {});
    ~MandataireTinyproxy();

    int Port() const { return port_; }
    // Journal de tinyproxy (une ligne par connexion relayée).
    std::string Journal() const;
    const DossierTemporaire& Dossier() const { return dossier_; }

  private:
    DossierTemporaire dossier_;
    int port_ = 0;
    std::unique_ptr<ProcessusServeur> processus_;
};

} // namespace emporteur::test
