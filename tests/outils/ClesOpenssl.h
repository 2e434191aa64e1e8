#pragma once
// Une paire de clés ECDSA P-256 faite par le vrai outil openssl, qui signe et vérifie
// comme le ferait le fabricant (« openssl dgst -sha256 -sign / -verify »).

#include "outils/DossierTemporaire.h"

#include <string>

namespace emporteur::test {

class CleOpenssl {
  public:
    // `courbe` : prime256v1 pour les clés admises ; une autre pour les refus.
    explicit CleOpenssl(const std::string& courbe = "prime256v1");

    const std::string& CheminPrive() const { return prive_; }
    const std::string& CheminPublic() const { return public_; }
    std::string PubliquePem() const;
    // Signature DER des octets `contenu`.
    std::string Signer(const std::string& contenu) const;
    // Vrai si openssl dit "Verified OK".
    bool Verifie(const std::string& contenu, const std::string& signature) const;

  private:
    DossierTemporaire dossier_;
    std::string prive_, public_;
};

// Le texte avec sa ligne de série après la ligne de format.
std::string AvecSerie(const std::string& texte, unsigned serie,
                      const std::string& expire = "2099-12-31");

// "openssl dgst -sha256" : 64 chiffres hexadécimaux du fichier.
std::string Sha256Openssl(const std::string& chemin);

} // namespace emporteur::test
