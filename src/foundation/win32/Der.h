#pragma once
// Le peu de DER que crypt32 ne décode ni n'encode sous toutes les versions de Windows
// (wine 8 n'a ni X509_ECC_PRIVATE_KEY, ni PKCS_PRIVATE_KEY_INFO, ni l'encodage de
// X509_ECC_SIGNATURE) : lecture bornée, jamais d'exception, rien de cryptographique.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace emporteur::der {

// Lit une suite d'éléments TLV dans `octets` (longueurs courtes ou sur 1 à 3 octets).
class Lecteur {
  public:
    explicit Lecteur(std::string_view octets) : reste_(octets) {}
    Lecteur(std::string&&) = delete; // il garde une vue : pas de temporaire
    // L'élément suivant s'il porte l'étiquette `etiquette` (sinon faux, rien de lu).
    bool Lire(std::uint8_t etiquette, std::string_view& contenu);
    bool Fini() const { return reste_.empty(); }

  private:
    std::string_view reste_;
};

// r‖s (2 × 32 octets gros-boutistes) → la SEQUENCE de deux INTEGER qu'écrit openssl.
std::string SignatureEcdsa(const std::array<std::uint8_t, 64>& rs);

// Une clé privée EC lue d'un PKCS#8 (PrivateKeyInfo) ou d'un SEC1 (ECPrivateKey) : vues
// dans le DER donné, valables tant qu'il vit.
struct ClePriveeEc {
    std::string_view prive;  // d, gros-boutiste
    std::string_view point;  // 04‖X‖Y, vide s'il manque
    std::string_view courbe; // contenu de l'OID, vide s'il manque
};
bool LireSec1(std::string_view der, ClePriveeEc& cle);
// Faux si l'algorithme n'est pas une clé EC (id-ecPublicKey).
bool LirePkcs8(std::string_view der, ClePriveeEc& cle);

} // namespace emporteur::der
