#include "foundation/Chemins.h"

#include <algorithm>

namespace emporteur {

void AjouterBarre(std::string& chemin) {
    if (!chemin.empty() && !EstSeparateur(chemin.back())) chemin += kSeparateur;
}

void RetirerBarre(std::string& chemin) {
    if (!chemin.empty() && EstSeparateur(chemin.back())) chemin.pop_back();
}

void RetirerDernierElement(std::string& chemin) {
    const auto position = std::find_if(chemin.rbegin(), chemin.rend(), EstSeparateur);
    chemin.erase(position == chemin.rend() ? 0 : chemin.rend() - position - 1);
}

void RetirerNomFichier(std::string& chemin) {
    // Balayage à rebours : le premier point ou séparateur d'indice >= 1 décide.
    std::size_t i = chemin.size();
    while (i > 1) {
        --i;
        if (EstSeparateur(chemin[i])) return;
        if (chemin[i] == '.') break;
    }
    if (i < 1 || chemin.size() < 2 || chemin[i] != '.') return;
    while (i > 1) {
        --i;
        if (EstSeparateur(chemin[i])) {
            chemin.erase(i);
            return;
        }
    }
}

} // namespace emporteur
