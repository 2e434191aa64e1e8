#include "fenetres/PagesSuivantes.h"

namespace emporteur::fenetres {

PageTelechargement::PageTelechargement(Livret& livret) : PageLivret(livret, 321, 194) {}

bool PageTelechargement::Activer() {
    FixerBoutons(Boutons::Aucun);
    return true;
}

PageTerminay::PageTerminay(Livret& livret) : PageLivret(livret, 321, 194) {
    setFinalPage(true);
}

bool PageTerminay::Activer() {
    FixerBoutons(Boutons::Terminer);
    return true;
}

} // namespace emporteur::fenetres
