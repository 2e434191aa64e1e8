#include "foundation/InterfaceUtilisateur.h"

namespace emporteur {

namespace {
// Boutons de chaque jeu MB_*, dans l'ordre d'affichage.
struct JeuBoutons {
    Reponse boutons[3];
    int nombre;
};

JeuBoutons BoutonsDe(unsigned styleBoite) {
    using enum Reponse;
    switch (styleBoite & style::MASQUE_BOUTONS) {
    case style::MB_OKCANCEL:
        return {{IDOK, IDCANCEL, {}}, 2};
    case style::MB_ABORTRETRYIGNORE:
        return {{IDABORT, IDRETRY, IDIGNORE}, 3};
    case style::MB_YESNOCANCEL:
        return {{IDYES, IDNO, IDCANCEL}, 3};
    case style::MB_YESNO:
        return {{IDYES, IDNO, {}}, 2};
    case style::MB_RETRYCANCEL:
        return {{IDRETRY, IDCANCEL, {}}, 2};
    default:
        return {{IDOK, {}, {}}, 1};
    }
}
} // namespace

Reponse ReponseParDefaut(unsigned styleBoite) {
    const JeuBoutons jeu = BoutonsDe(styleBoite);
    int rang = 0;
    if (styleBoite & style::MB_DEFBUTTON3)
        rang = 2;
    else if (styleBoite & style::MB_DEFBUTTON2)
        rang = 1;
    return rang < jeu.nombre ? jeu.boutons[rang] : jeu.boutons[0];
}

} // namespace emporteur
