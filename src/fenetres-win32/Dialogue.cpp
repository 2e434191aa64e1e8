#include "fenetres-win32/Dialogue.h"

#include "foundation/win32/Utf16.h"

namespace emporteur::win32 {

Dialogue::~Dialogue() {
    // Un dialogue sans mode encore là : sa procédure ne doit plus nous voir.
    if (fenetre_ && !modal_) {
        SetWindowLongPtrW(fenetre_, DWLP_USER, 0);
        DestroyWindow(fenetre_);
    }
}

INT_PTR Dialogue::Executer(HWND proprietaire) {
    modal_ = true;
    fin_.reset();
    const INT_PTR code = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(modele_),
                                         proprietaire, Procedure, reinterpret_cast<LPARAM>(this));
    fenetre_ = nullptr;
    return code;
}

HWND Dialogue::Creer(HWND proprietaire) {
    modal_ = false;
    fin_.reset();
    const HWND fenetre =
        CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(modele_), proprietaire,
                           Procedure, reinterpret_cast<LPARAM>(this));
    if (fenetre) ShowWindow(fenetre, SW_SHOW);
    return fenetre;
}

void Dialogue::FixerTexte(int id, std::string_view utf8) const {
    SetDlgItemTextW(fenetre_, id, VersUtf16(utf8).c_str());
}

std::string Dialogue::Texte(int id) const {
    const HWND controle = Controle(id);
    if (!controle) return {};
    std::wstring texte(static_cast<std::size_t>(GetWindowTextLengthW(controle)) + 1, L'\0');
    texte.resize(static_cast<std::size_t>(
        GetWindowTextW(controle, texte.data(), static_cast<int>(texte.size()))));
    return DepuisUtf16(texte);
}

bool Dialogue::Message(UINT, WPARAM, LPARAM, INT_PTR&) {
    return false;
}

void Dialogue::Finir(INT_PTR code) {
    fin_ = code;
    if (modal_)
        EndDialog(fenetre_, code);
    else
        ShowWindow(fenetre_, SW_HIDE);
}

INT_PTR CALLBACK Dialogue::Procedure(HWND fenetre, UINT message, WPARAM w, LPARAM l) {
    auto* dialogue = reinterpret_cast<Dialogue*>(GetWindowLongPtrW(fenetre, DWLP_USER));
    if (message == WM_INITDIALOG) {
        dialogue = reinterpret_cast<Dialogue*>(l);
        SetWindowLongPtrW(fenetre, DWLP_USER, l);
        dialogue->fenetre_ = fenetre;
    }
    return dialogue ? dialogue->Traiter(message, w, l) : FALSE;
}

INT_PTR Dialogue::Traiter(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_INITDIALOG:
        return Initialiser() ? TRUE : FALSE;
    case WM_COMMAND:
        return Commande(LOWORD(w), HIWORD(w)) ? TRUE : FALSE;
    default: {
        INT_PTR resultat = 0;
        if (!Message(message, w, l, resultat)) return FALSE;
        SetWindowLongPtrW(fenetre_, DWLP_MSGRESULT, resultat);
        return TRUE;
    }
    }
}

} // namespace emporteur::win32
