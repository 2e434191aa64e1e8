#include "fenetres-win32/PageLivret.h"

namespace emporteur::win32 {

PROPSHEETPAGEW PageLivret::Description(HINSTANCE module) {
    PROPSHEETPAGEW page{};
    page.dwSize = sizeof page;
    page.dwFlags = PSP_DEFAULT; // PSP_HASHELP absent : pas d'aide
    page.hInstance = module;
    page.pszTemplate = MAKEINTRESOURCEW(modele_);
    page.pfnDlgProc = &PageLivret::Procedure;
    page.lParam = reinterpret_cast<LPARAM>(this);
    return page;
}

void PageLivret::FixerBoutons(Boutons boutons) const {
    DWORD drapeaux = 0;
    if (boutons == Boutons::Suivant) drapeaux = PSWIZB_NEXT;
    if (boutons == Boutons::Terminer) drapeaux = PSWIZB_FINISH;
    // Posté : la page peut le demander pendant que le livret la crée.
    PostMessageW(Livret(), PSM_SETWIZBUTTONS, 0, drapeaux);
}

INT_PTR CALLBACK PageLivret::Procedure(HWND fenetre, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) {
        // lparam : la description de la page, dont lParam porte l'objet.
        auto* page =
            reinterpret_cast<PageLivret*>(reinterpret_cast<const PROPSHEETPAGEW*>(lparam)->lParam);
        SetWindowLongPtrW(fenetre, DWLP_USER, reinterpret_cast<LONG_PTR>(page));
        page->fenetre_ = fenetre;
        page->Initialiser();
        return TRUE;
    }
    auto* page = reinterpret_cast<PageLivret*>(GetWindowLongPtrW(fenetre, DWLP_USER));
    if (!page) return FALSE;
    if (message == WM_NOTIFY) {
        const auto& entete = *reinterpret_cast<const NMHDR*>(lparam);
        if (entete.hwndFrom != page->Livret()) return FALSE;
        SetWindowLongPtrW(fenetre, DWLP_MSGRESULT, page->Notification(entete));
        return TRUE;
    }
    LRESULT resultat = 0;
    if (!page->Message(message, wparam, lparam, resultat)) return FALSE;
    // Les messages qui rendent leur valeur directement (couleurs) ; les autres par DWLP_MSGRESULT.
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) return resultat;
    SetWindowLongPtrW(fenetre, DWLP_MSGRESULT, resultat);
    return TRUE;
}

LRESULT PageLivret::Notification(const NMHDR& entete) {
    switch (entete.code) {
    case PSN_SETACTIVE:
        return Activer() ? 0 : -1; // -1 : le livret saute la page dans le sens de la marche
    case PSN_WIZNEXT:
        if (!Suivant()) return -1;
        Quitter();
        return 0;
    case PSN_KILLACTIVE:
        return PeutPartir() ? FALSE : TRUE;
    case PSN_QUERYCANCEL:
        Annulation();
        return FALSE; // le livret se ferme
    case PSN_WIZFINISH:
        return Terminer() ? FALSE : TRUE;
    default:
        return 0;
    }
}

} // namespace emporteur::win32
