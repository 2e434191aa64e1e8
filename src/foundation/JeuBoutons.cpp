#include "foundation/JeuBoutons.h"

#include "foundation/InterfaceUtilisateur.h"

#include <algorithm>

namespace emporteur {

std::vector<Reponse> BoutonsDeLaBoite(unsigned styleBoite) {
    using enum Reponse;
    switch (styleBoite & style::MASQUE_BOUTONS) {
    case MB_OKCANCEL:
        return {Ok, Annuler};
    case MB_ABORTRETRYIGNORE:
        return {Abandonner, Reessayer, Ignorer};
    case MB_YESNOCANCEL:
        return {Oui, Non, Annuler};
    case MB_YESNO:
        return {Oui, Non};
    case MB_RETRYCANCEL:
        return {Reessayer, Annuler};
    default:
        return {Ok};
    }
}

Reponse ReponseEchap(unsigned styleBoite) {
    const auto boutons = BoutonsDeLaBoite(styleBoite);
    if (std::find(boutons.begin(), boutons.end(), Reponse::Annuler) != boutons.end())
        return Reponse::Annuler;
    return boutons.size() == 1 ? Reponse::Ok : Reponse{};
}

} // namespace emporteur
