#include "foundation/Chemins.h"

namespace emporteur {

void AjouterBarre(std::string& chemin) {
    if (!chemin.empty() && chemin.back() != kSeparateur) chemin += kSeparateur;
}

void RetirerBarre(std::string& chemin) {
    if (!chemin.empty() && chemin.back() == kSeparateur) chemin.pop_back();
}

void RetirerDernierElement(std::string& chemin) {
    const auto position = chemin.rfind(kSeparateur);
    chemin.erase(position == std::string::npos ? 0 : position);
}

void RetirerNomFichier(std::string& chemin) {
    // Balayage à rebours : le premier point ou séparateur d'indice >= 1 décide.
    std::size_t i = chemin.size();
    while (i > 1) {
        --i;
        if (chemin[i] == kSeparateur) return;
        if (chemin[i] == '.') break;
    }
    if (i < 1 || chemin.size() < 2 || chemin[i] != '.') return;
    while (i > 1) {
        --i;
        if (chemin[i] == kSeparateur) {
            chemin.erase(i);
            return;
        }
    }
}

} // namespace emporteur
