#include "foundation/Empreinte.h"

namespace emporteur {

// Ce qui ne dépend pas de la plateforme : conversions et raccourci.

Sha256 EmpreinteDe(std::string_view octets) {
    Empreinte e;
    e.Ajouter(octets.data(), octets.size());
    return e.Finir();
}

std::string EnHexadecimal(const Sha256& empreinte) {
    static constexpr char kChiffres[] = "0123456789abcdef";
    std::string texte;
    texte.reserve(64);
    for (const std::uint8_t o : empreinte) {
        texte += kChiffres[o >> 4];
        texte += kChiffres[o & 0xF];
    }
    return texte;
}

namespace {
int Chiffre(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
} // namespace

bool LireHexadecimal(std::string_view texte, Sha256& empreinte) {
    if (texte.size() != 64) return false;
    for (std::size_t i = 0; i < 32; ++i) {
        const int fort = Chiffre(texte[2 * i]), faible = Chiffre(texte[2 * i + 1]);
        if (fort < 0 || faible < 0) return false;
        empreinte[i] = static_cast<std::uint8_t>(fort << 4 | faible);
    }
    return true;
}

} // namespace emporteur
