#include "download/NomCache.h"

#include <cstdint>
#include <cstdio>

namespace emporteur {

std::string Empreinte(const std::string& texte) {
    std::uint64_t empreinte = 1469598103934665603u; // FNV-1a
    for (const unsigned char c : texte)
        empreinte = (empreinte ^ c) * 1099511628211u;
    char sortie[20];
    std::snprintf(sortie, sizeof sortie, "~%016llx", static_cast<unsigned long long>(empreinte));
    return sortie;
}

std::string NomCache(const std::string& nomLocal, std::string_view suffixe) {
    std::string nom = "." + nomLocal + std::string(suffixe);
    if (nom.size() <= kLongueurNomMax) return nom;
    // Coupé sur un début de caractère UTF-8, puis rendu unique par l'empreinte.
    std::size_t coupe = 200;
    while (coupe > 0 && (static_cast<unsigned char>(nomLocal[coupe]) & 0xC0) == 0x80)
        --coupe;
    return "." + nomLocal.substr(0, coupe) + Empreinte(nomLocal) + std::string(suffixe);
}

} // namespace emporteur
