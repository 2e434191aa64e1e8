#include "foundation/JeuBoutons.h"

#include "foundation/InterfaceUtilisateur.h"

#include <algorithm>

namespace emporteur {

std::vector<Reponse> BoutonsDeLaBoite(unsigned styleBoite) {
    using enum Reponse;
    switch (styleBoite & style::MASQUE_BOUTONS) {
    case style::MB_OKCANCEL:
        return {IDOK, IDCANCEL};
    case style::MB_ABORTRETRYIGNORE:
        return {IDABORT, IDRETRY, IDIGNORE};
    case style::MB_YESNOCANCEL:
        return {IDYES, IDNO, IDCANCEL};
    case style::MB_YESNO:
        return {IDYES, IDNO};
    case style::MB_RETRYCANCEL:
        return {IDRETRY, IDCANCEL};
    default:
        return {IDOK};
    }
}

Reponse ReponseEchap(unsigned styleBoite) {
    const auto boutons = BoutonsDeLaBoite(styleBoite);
    if (std::find(boutons.begin(), boutons.end(), Reponse::IDCANCEL) != boutons.end())
        return Reponse::IDCANCEL;
    return boutons.size() == 1 ? Reponse::IDOK : Reponse{};
}

} // namespace emporteur
