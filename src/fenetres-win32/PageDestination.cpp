#include "fenetres-win32/PageDestination.h"

#include "assistant/LogiqueDestination.h"
#include "fenetres-win32/IdsPages.h"
#include "fenetres-win32/TexteFenetre.h"

namespace emporteur::win32 {

PageDestination::PageDestination(ContexteTelechargement& ctx)
    : PageLivret(IDD_DESTINATION), ctx_(ctx) {}

bool PageDestination::Activer() {
    FixerBoutons(Boutons::Suivant);
    const HWND dossier = Controle(IDC_DOSSIER);
    EcrireTexteFenetre(dossier, TexteDestination(ctx_, LireTexteFenetre(dossier)));
    return true;
}

bool PageDestination::Suivant() {
    return SuivantDestination(ctx_, LireTexteFenetre(Controle(IDC_DOSSIER)));
}

bool PageDestination::Message(UINT message, WPARAM wparam, LPARAM, LRESULT& resultat) {
    if (message != WM_COMMAND || LOWORD(wparam) != IDC_PARCOURIR || HIWORD(wparam) != BN_CLICKED)
        return false;
    const HWND dossier = Controle(IDC_DOSSIER);
    if (const auto choisi = ParcourirDestination(ctx_.Interface, LireTexteFenetre(dossier)))
        EcrireTexteFenetre(dossier, *choisi);
    resultat = 0;
    return true;
}

} // namespace emporteur::win32
