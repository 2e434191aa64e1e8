#include "fenetres-win32/Livret.h"

namespace emporteur::win32 {

namespace {
// À la création de la feuille : les boutons en français, quelle que soit la langue de
// comctl32 (le programme ne parle que français).
int CALLBACK Initialisation(HWND feuille, UINT message, LPARAM) {
    if (message != PSCB_INITIALIZED) return 0;
    SetDlgItemTextW(feuille, kBoutonPrecedent, kTextePrecedent);
    SetDlgItemTextW(feuille, kBoutonSuivant, kTexteSuivant);
    SetDlgItemTextW(feuille, kBoutonTerminer, kTexteTerminer);
    SetDlgItemTextW(feuille, IDCANCEL, kTexteAnnuler);
    return 0;
}
} // namespace

Livret::Livret(HINSTANCE module, std::vector<PageLivret*> pages, int premiere)
    : module_(module), pages_(std::move(pages)), premiere_(premiere) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES |
                                                     ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    for (PageLivret* page : pages_)
        descriptions_.push_back(page->Description(module_));
}

PROPSHEETHEADERW Livret::Entete(DWORD drapeaux) {
    PROPSHEETHEADERW entete{};
    entete.dwSize = sizeof entete;
    // Mode assistant ; PSH_HASHELP absent : pas de bouton d'aide.
    entete.dwFlags = PSH_WIZARD | PSH_PROPSHEETPAGE | PSH_USECALLBACK | drapeaux;
    entete.hwndParent = nullptr;
    entete.hInstance = module_;
    entete.pszCaption = L"Emporteur";
    entete.nPages = static_cast<UINT>(descriptions_.size());
    entete.nStartPage = static_cast<UINT>(premiere_);
    entete.ppsp = descriptions_.data();
    entete.pfnCallback = &Initialisation;
    return entete;
}

void Livret::Executer() {
    const PROPSHEETHEADERW entete = Entete(0);
    PropertySheetW(&entete); // son résultat n'est pas examiné
}

HWND Livret::Montrer() {
    const PROPSHEETHEADERW entete = Entete(PSH_MODELESS);
    return reinterpret_cast<HWND>(PropertySheetW(&entete));
}

void Livret::DemanderFin() {
    PostQuitMessage(0);
}

} // namespace emporteur::win32
