#include "foundation/win32/Der.h"

namespace emporteur::der {

using namespace std::string_view_literals;

namespace {
// id-ecPublicKey (1.2.840.10045.2.1), contenu de l'OID.
constexpr std::string_view kOidClePubliqueEc = "\x2A\x86\x48\xCE\x3D\x02\x01"sv;

std::string Entier(const std::uint8_t* grand, std::size_t n) {
    while (n > 1 && *grand == 0) {
        ++grand;
        --n;
    }
    std::string e(1, '\x02');
    const bool signe = *grand & 0x80; // un zéro de tête garde l'entier positif
    e += static_cast<char>(n + signe);
    if (signe) e += '\0';
    e.append(reinterpret_cast<const char*>(grand), n);
    return e;
}
} // namespace

bool Lecteur::Lire(std::uint8_t etiquette, std::string_view& contenu) {
    if (reste_.size() < 2 || static_cast<std::uint8_t>(reste_[0]) != etiquette) return false;
    std::size_t longueur = static_cast<std::uint8_t>(reste_[1]), entete = 2;
    if (longueur & 0x80) {
        const std::size_t octets = longueur & 0x7F;
        if (octets == 0 || octets > 3 || reste_.size() < 2 + octets) return false;
        longueur = 0;
        for (std::size_t i = 0; i < octets; ++i)
            longueur = longueur << 8 | static_cast<std::uint8_t>(reste_[2 + i]);
        entete += octets;
    }
    if (longueur > reste_.size() - entete) return false;
    contenu = reste_.substr(entete, longueur);
    reste_.remove_prefix(entete + longueur);
    return true;
}

std::string SignatureEcdsa(const std::array<std::uint8_t, 64>& rs) {
    const std::string corps = Entier(rs.data(), 32) + Entier(rs.data() + 32, 32);
    return std::string(1, '\x30') + static_cast<char>(corps.size()) + corps; // ≤ 70 octets
}

// ECPrivateKey ::= SEQUENCE { version 1, privateKey OCTET STRING,
//                             [0] parameters OPTIONAL, [1] publicKey BIT STRING OPTIONAL }
bool LireSec1(std::string_view der, ClePriveeEc& cle) {
    Lecteur tout(der);
    std::string_view corps, version, champ;
    if (!tout.Lire(0x30, corps) || !tout.Fini()) return false;
    Lecteur l(corps);
    if (!l.Lire(0x02, version) || version != "\x01"sv || !l.Lire(0x04, cle.prive)) return false;
    if (l.Lire(0xA0, champ) && !Lecteur(champ).Lire(0x06, cle.courbe)) return false;
    std::string_view bits;
    if (l.Lire(0xA1, champ)) {
        if (!Lecteur(champ).Lire(0x03, bits) || bits.empty() || bits[0] != 0) return false;
        cle.point = bits.substr(1);
    }
    return l.Fini();
}

// PrivateKeyInfo ::= SEQUENCE { version 0, AlgorithmIdentifier { id-ecPublicKey, courbe },
//                               privateKey OCTET STRING (un ECPrivateKey), [0] attributs }
bool LirePkcs8(std::string_view der, ClePriveeEc& cle) {
    Lecteur tout(der);
    std::string_view corps, version, algorithme, oid, courbe, sec1;
    if (!tout.Lire(0x30, corps) || !tout.Fini()) return false;
    Lecteur l(corps);
    if (!l.Lire(0x02, version) || version != "\x00"sv || !l.Lire(0x30, algorithme) ||
        !l.Lire(0x04, sec1))
        return false;
    Lecteur a(algorithme);
    if (!a.Lire(0x06, oid) || oid != kOidClePubliqueEc || !a.Lire(0x06, courbe) ||
        !LireSec1(sec1, cle))
        return false;
    // La courbe de l'algorithme fait foi ; une autre dans la clé même serait incohérente.
    if (!cle.courbe.empty() && cle.courbe != courbe) return false;
    cle.courbe = courbe;
    return true;
}

} // namespace emporteur::der
