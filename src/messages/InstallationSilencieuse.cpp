// Mode d'installation silencieuse : personne n'est là pour répondre.
#include "foundation/CleRegistre.h"
#include "messages/ServiceMessages.h"

#include <cstdlib>
#include <optional>

namespace emporteur {

namespace {
constexpr const char* kCleSilence = "Software\\Mervane\\Orthalis\\6.0\\InstallationSilencieuse";

// Valeur texte d'une marque lue comme un entier 64 bits (strtoll) ; absente : rien.
std::optional<long long> Marque(Ruche ruche, const char* nom) {
    CleRegistre cle;
    std::string texte;
    if (cle.OuvrirCle(ruche, kCleSilence, KEY_READ) != ERROR_SUCCESS ||
        cle.LireTexte(nom, texte, 260) != ERROR_SUCCESS)
        return std::nullopt;
    return std::strtoll(texte.c_str(), nullptr, 10);
}
} // namespace

bool InstallationSilencieuseActive() {
    CleRegistre utilisateur;
    std::uint32_t force = 0;
    if (utilisateur.OuvrirCle(HKEY_CURRENT_USER, kCleSilence, KEY_READ) == ERROR_SUCCESS &&
        utilisateur.Cle().LireDword("SilForcay", force) == ERROR_SUCCESS)
        return force == 1;
    const auto r = Marque(HKEY_LOCAL_MACHINE, "R");
    if (!r) return false;
    const auto d = Marque(HKEY_CURRENT_USER, "D");
    return !d || static_cast<unsigned long long>(*d) < static_cast<unsigned long long>(*r);
}

} // namespace emporteur
