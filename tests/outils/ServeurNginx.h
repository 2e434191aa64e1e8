#pragma once
// Le vrai nginx pour les tests : configuration générée dans un dossier temporaire
// (premier plan, sans processus maître), écoute sur 127.0.0.1 à un port libre et sert
// `racine`. Arrêté à la destruction.

#include "outils/DossierTemporaire.h"
#include "outils/ProcessusServeur.h"

#include <memory>
#include <string>

namespace emporteur::test {

class ServeurNginx {
  public:
    // Lève si nginx ne démarre pas (journal dans Dossier()/error.log). `directives` :
    // ajoutées au bloc server (par exemple "max_ranges 0;") ; `ecoute` : ajouté à la
    // directive listen (" ssl").
    explicit ServeurNginx(const std::string& racine, const std::string& directives = "",
                          const std::string& ecoute = "");
    ~ServeurNginx();

    int Port() const { return port_; }
    // "127.0.0.1:PORT", à donner comme hôte au transport.
    std::string Hote() const { return "127.0.0.1:" + std::to_string(port_); }
    // Dossier de la configuration et des journaux : error.log, et access.log dont chaque
    // ligne est « n°connexion statut "GET …" "plage demandée" octets_envoyés ».
    const DossierTemporaire& Dossier() const { return dossier_; }
    // access.log une fois stable : nginx journalise après avoir répondu, le client a
    // donc pu finir avant la ligne. Attend 150 ms sans changement, 3 s au plus.
    std::string JournalAcces() const;

  private:
    DossierTemporaire dossier_;
    int port_ = 0;
    std::unique_ptr<ProcessusServeur> processus_;
};

} // namespace emporteur::test
