#include "foundation/InterfaceUtilisateur.h"

#include "foundation/JeuBoutons.h"

namespace emporteur {

Reponse ReponseParDefaut(unsigned styleBoite) {
    const auto boutons = BoutonsDeLaBoite(styleBoite);
    std::size_t rang = 0;
    if (styleBoite & MB_DEFBUTTON3)
        rang = 2;
    else if (styleBoite & MB_DEFBUTTON2)
        rang = 1;
    return rang < boutons.size() ? boutons[rang] : boutons[0];
}

} // namespace emporteur
