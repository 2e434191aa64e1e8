#include "fenetres/PageLivret.h"

#include "fenetres/Livret.h"

namespace emporteur::fenetres {

// La police du livret, réduite s'il le faut pour tenir dans l'écran, avant tout contrôle.
PageLivret::PageLivret(Livret& livret, int cx, int cy)
    : livret_(livret), unites_(livret.font()) {
    setFont(livret.font());
    setMinimumSize(unites_.Taille(cx, cy));
    // Aucun retour en arrière : chaque page engage la suite.
    setCommitPage(true);
}

bool PageLivret::validatePage() {
    if (declinee_) return true;
    if (!Suivant()) return false;
    Quitter();
    return true;
}

void PageLivret::FixerBoutons(Boutons boutons) {
    const bool actif = boutons != Boutons::Aucun;
    if (actif == suivantActif_) return;
    suivantActif_ = actif;
    emit completeChanged();
}

} // namespace emporteur::fenetres
