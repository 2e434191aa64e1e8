#include "fenetres/PageLivret.h"

namespace emporteur::fenetres {

PageLivret::PageLivret(Livret& livret, int cx, int cy) : livret_(livret), unites_(font()) {
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
