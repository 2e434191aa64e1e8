#include "assistant/DefilementListe.h"

#include <algorithm>

namespace emporteur {

int DecalageMaximal(const EtatDefilement& etat) {
    return std::max(0, etat.hauteurContenu - etat.hauteurVisible);
}

int Defiler(const EtatDefilement& etat, ActionBarre action, int curseur) {
    const int maximum = DecalageMaximal(etat);
    const int pasLigne = std::max(5, maximum / 20);
    const int pasPage = std::max(5, maximum / 10);
    const int decalage = std::clamp(etat.decalage, 0, maximum);
    switch (action) {
    case ActionBarre::LigneHaut:
        return std::max(0, decalage - pasLigne);
    case ActionBarre::PageHaut:
        return std::max(0, decalage - pasPage);
    case ActionBarre::LigneBas:
        return std::min(maximum, decalage + pasLigne);
    case ActionBarre::PageBas:
        return std::min(maximum, decalage + pasPage);
    case ActionBarre::Curseur:
        return std::clamp(curseur, 0, maximum);
    case ActionBarre::Autre:
        break;
    }
    return etat.decalage;
}

} // namespace emporteur
