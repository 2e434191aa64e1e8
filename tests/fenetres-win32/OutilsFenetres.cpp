#include "OutilsFenetres.h"

#include <cwctype>
#include <sstream>

namespace emporteur::win32::essais::livret {

bool Pomper(HWND livret, const std::function<bool()>& condition, std::chrono::milliseconds limite,
            bool* quitte) {
    const auto fin = std::chrono::steady_clock::now() + limite;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                if (quitte) *quitte = true;
                continue;
            }
            if (livret && IsWindow(livret) && PropSheet_IsDialogMessage(livret, &message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= fin) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

void Vider(HWND livret) {
    // Deux tours : un message posté pendant le premier est traité au second.
    for (int tour = 0; tour < 2; ++tour)
        Pomper(livret, [] { return true; });
}

std::wstring TexteFenetre(HWND fenetre) {
    std::wstring texte(static_cast<std::size_t>(GetWindowTextLengthW(fenetre)) + 1, L'\0');
    texte.resize(static_cast<std::size_t>(
        GetWindowTextW(fenetre, texte.data(), static_cast<int>(texte.size()))));
    return texte;
}

std::vector<ControleLu> LireControles(HWND fenetre) {
    struct Lecture {
        HWND parent;
        std::vector<ControleLu> controles;
    } lecture{fenetre, {}};
    EnumChildWindows(
        fenetre,
        [](HWND enfant, LPARAM donnee) -> BOOL {
            auto& l = *reinterpret_cast<Lecture*>(donnee);
            if (GetParent(enfant) != l.parent) return TRUE; // petits-enfants : pas du modèle
            wchar_t classe[64] = {};
            GetClassNameW(enfant, classe, 64);
            RECT rect;
            GetWindowRect(enfant, &rect);
            MapWindowPoints(nullptr, l.parent, reinterpret_cast<POINT*>(&rect), 2);
            l.controles.push_back({enfant, GetDlgCtrlID(enfant), classe, TexteFenetre(enfant),
                                   static_cast<DWORD>(GetWindowLongW(enfant, GWL_STYLE)), rect});
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&lecture));
    return lecture.controles;
}

std::string Utf8(const std::wstring& texte) {
    if (texte.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, texte.data(), static_cast<int>(texte.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string sortie(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, texte.data(), static_cast<int>(texte.size()), sortie.data(), n,
                        nullptr, nullptr);
    return sortie;
}

namespace {
bool MemeClasse(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    return true;
}

// Les bits de style que wine peut changer pour ce contrôle : WS_TABSTOP d'un bouton radio
// non coché (BM_SETCHECK le retire aux autres radios du groupe), WS_BORDER d'une barre de
// progression, et WS_BORDER rendu en WS_EX_CLIENTEDGE (le cadre creux des dialogues en relief).
DWORD BitsLibres(HWND controle, const ControleModele& m) {
    DWORD libres = 0;
    const DWORD genre = m.style & BS_TYPEMASK;
    const bool radio =
        MemeClasse(m.classe, L"Button") && (genre == BS_AUTORADIOBUTTON || genre == BS_RADIOBUTTON);
    if (radio && SendMessageW(controle, BM_GETCHECK, 0, 0) != BST_CHECKED) libres |= WS_TABSTOP;
    if (MemeClasse(m.classe, PROGRESS_CLASSW)) libres |= WS_BORDER;
    if (GetWindowLongW(controle, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) libres |= WS_BORDER;
    return libres;
}

// Une image statique prend la taille de son image, en pixels.
bool TailleImage(HWND controle, const ControleModele& m, SIZE& taille) {
    if (!MemeClasse(m.classe, L"Static") || (m.style & SS_TYPEMASK) != SS_BITMAP) return false;
    BITMAP image{};
    const auto poignee =
        reinterpret_cast<HBITMAP>(SendMessageW(controle, STM_GETIMAGE, IMAGE_BITMAP, 0));
    if (!poignee || !GetObjectW(poignee, sizeof image, &image)) return false;
    taille = {image.bmWidth, image.bmHeight};
    return true;
}
} // namespace

std::vector<std::string> Ecarts(HWND page, const std::vector<ControleModele>& modele) {
    std::vector<std::string> ecarts;
    const auto lus = LireControles(page);
    if (lus.size() != modele.size())
        ecarts.push_back("nombre de contrôles : " + std::to_string(lus.size()) + " au lieu de " +
                         std::to_string(modele.size()));
    for (std::size_t i = 0; i < std::min(lus.size(), modele.size()); ++i) {
        const ControleModele& m = modele[i];
        const ControleLu& l = lus[i];
        std::ostringstream ici;
        ici << "contrôle " << i << " (" << m.id << ", « " << Utf8(m.texte) << " ») : ";
        if (l.id != m.id) ecarts.push_back(ici.str() + "id " + std::to_string(l.id));
        if (!MemeClasse(l.classe, m.classe))
            ecarts.push_back(ici.str() + "classe " + Utf8(l.classe));
        if (l.texte != m.texte) ecarts.push_back(ici.str() + "texte « " + Utf8(l.texte) + " »");
        const DWORD attendu = m.style | WS_CHILD;
        const DWORD libres = BitsLibres(l.fenetre, m);
        if ((l.style & ~libres) != (attendu & ~libres)) {
            std::ostringstream s;
            s << std::hex << "style 0x" << l.style << " au lieu de 0x" << attendu << " (étendu 0x"
              << GetWindowLongW(l.fenetre, GWL_EXSTYLE) << ")";
            ecarts.push_back(ici.str() + s.str());
        }
        // Position et taille converties chacune, comme le gestionnaire de dialogues le fait.
        RECT unites{m.x, m.y, m.cx, m.cy};
        MapDialogRect(page, &unites);
        SIZE taille{unites.right, unites.bottom};
        TailleImage(l.fenetre, m, taille);
        const RECT voulu{unites.left, unites.top, unites.left + taille.cx, unites.top + taille.cy};
        if (!EqualRect(&voulu, &l.rect)) {
            std::ostringstream s;
            s << "position " << l.rect.left << "," << l.rect.top << " "
              << l.rect.right - l.rect.left << "×" << l.rect.bottom - l.rect.top << " au lieu de "
              << voulu.left << "," << voulu.top << " " << voulu.right - voulu.left << "×"
              << voulu.bottom - voulu.top;
            ecarts.push_back(ici.str() + s.str());
        }
    }
    return ecarts;
}

} // namespace emporteur::win32::essais::livret
