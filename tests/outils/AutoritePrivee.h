#pragma once
// Une autorité de certification privée fabriquée par openssl pour un test : la clé et
// le certificat de l'autorité, un certificat de serveur qu'elle signe pour
// 127.0.0.1, et un dossier d'autorités au format de SSL_CERT_DIR (noms hachés).

#include "outils/DossierTemporaire.h"

#include <string>

namespace emporteur::test {

class AutoritePrivee {
  public:
    // Lève si openssl échoue.
    AutoritePrivee();

    std::string CertificatAutorite() const { return dossier_ / "autorite.pem"; }
    std::string DossierAutorites() const { return dossier_ / "autorites"; }
    std::string CertificatServeur() const { return dossier_ / "serveur.pem"; }
    std::string CleServeur() const { return dossier_ / "serveur.key"; }
    // Directives nginx qui servent en TLS avec le certificat du serveur.
    std::string DirectivesNginx() const;

  private:
    DossierTemporaire dossier_;
};

} // namespace emporteur::test
