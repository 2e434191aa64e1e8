#include "assistant/LogiqueTelechargement.h"

#include "download/FormaterTaille.h"

#include <chrono>

namespace emporteur {

namespace {
// Après le drapeau de fin, le fil n'a plus qu'à rendre son code : cette borne
// n'est jamais atteinte, elle évite seulement une attente sans fin.
constexpr std::chrono::seconds kAttenteFinFil{10};
} // namespace

std::string TexteTailleRestante(std::uint64_t octets) {
    std::string texteOctets, texteMega;
    FormaterTailleLongue(octets, texteOctets, texteMega);
    return "Taille des segments restants\u00A0: " + texteOctets + " octets (" + texteMega +
           " mégaoctets)";
}

std::string TexteTempsApproximatif(const std::string& temps) {
    return "Temps approximatif restant : " + temps;
}

std::optional<int> CodeSortieFil(std::future<int>& fil, bool fini) {
    if (!fil.valid()) return std::nullopt;
    const auto attente = fini
                             ? std::chrono::duration_cast<std::chrono::milliseconds>(kAttenteFinFil)
                             : std::chrono::milliseconds(0);
    if (fil.wait_for(attente) != std::future_status::ready) return std::nullopt;
    try {
        return fil.get();
    } catch (...) {
        return std::nullopt; // la procédure du fil ne laisse rien s'échapper
    }
}

DecisionArret ArreterTelechargement(bool& echecSignale, bool annulation,
                                    const std::function<std::optional<int>()>& arreter) {
    if (echecSignale) return {};
    const std::optional<int> code = arreter();
    if (code != 1) return {};
    echecSignale = true;
    return {.Quitter = false, .AnnoncerEchec = !annulation, .ActiverSuivant = true};
}

} // namespace emporteur
