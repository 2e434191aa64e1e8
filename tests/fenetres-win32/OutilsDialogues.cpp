#include "OutilsDialogues.h"

#include "foundation/win32/Utf16.h"

#include <cwchar>

namespace emporteur::win32::essais_dialogues {

void Pomper(HWND dialogue) {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (dialogue && IsDialogMessageW(dialogue, &m)) continue;
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

bool PomperJusqua(HWND dialogue, const std::function<bool()>& condition,
                  std::chrono::milliseconds limite) {
    const auto fin = std::chrono::steady_clock::now() + limite;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > fin) return false;
        Pomper(dialogue);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

void Touche(HWND dialogue, HWND controle, WPARAM touche) {
    SetFocus(controle);
    MSG m{};
    m.hwnd = controle;
    m.message = WM_KEYDOWN;
    m.wParam = touche;
    if (!IsDialogMessageW(dialogue, &m)) DispatchMessageW(&m);
    Pomper(dialogue);
}

std::string TexteDe(HWND fenetre) {
    std::wstring texte(static_cast<std::size_t>(GetWindowTextLengthW(fenetre)) + 1, L'\0');
    texte.resize(static_cast<std::size_t>(
        GetWindowTextW(fenetre, texte.data(), static_cast<int>(texte.size()))));
    return DepuisUtf16(texte);
}

bool Actif(HWND dialogue, int id) {
    return IsWindowEnabled(GetDlgItem(dialogue, id)) != FALSE;
}

bool Visible(HWND dialogue, int id) {
    return (GetWindowLongW(GetDlgItem(dialogue, id), GWL_STYLE) & WS_VISIBLE) != 0;
}

namespace {
std::wstring Classe(HWND fenetre) {
    wchar_t nom[64] = {};
    GetClassNameW(fenetre, nom, 64);
    return nom;
}

RECT RectangleDansDialogue(HWND dialogue, HWND controle) {
    RECT r;
    GetWindowRect(controle, &r);
    MapWindowPoints(nullptr, dialogue, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void Comparer(HWND dialogue, HWND controle, const ControleModele& m,
              std::vector<std::string>& ecarts) {
    const std::string qui = "contrôle " + std::to_string(m.id) + " « " + m.texte + " » : ";
    if (GetDlgCtrlID(controle) != m.id)
        ecarts.push_back(qui + "id " + std::to_string(GetDlgCtrlID(controle)));
    if (_wcsicmp(Classe(controle).c_str(), m.classe.c_str()) != 0)
        ecarts.push_back(qui + "classe " + DepuisUtf16(Classe(controle)));
    if (TexteDe(controle) != m.texte) ecarts.push_back(qui + "texte « " + TexteDe(controle) + " »");
    DWORD style = static_cast<DWORD>(GetWindowLongW(controle, GWL_STYLE)) &
                  ~static_cast<DWORD>(WS_CHILD | WS_VISIBLE);
    // Le gestionnaire de dialogues change la bordure d'une zone d'édition en bord creux.
    if ((m.style & WS_BORDER) && (GetWindowLongW(controle, GWL_EXSTYLE) & WS_EX_CLIENTEDGE))
        style |= WS_BORDER;
    if (style != m.style) ecarts.push_back(qui + "style " + std::to_string(style));
    // Position et taille converties chacune, comme le fait la création depuis le modèle.
    RECT unites{m.x, m.y, m.cx, m.cy};
    MapDialogRect(dialogue, &unites);
    const RECT attendu{unites.left, unites.top, unites.left + unites.right,
                       unites.top + unites.bottom};
    const RECT lu = RectangleDansDialogue(dialogue, controle);
    if (!EqualRect(&attendu, &lu))
        ecarts.push_back(qui + "position " + std::to_string(lu.left) + "," +
                         std::to_string(lu.top) + " " + std::to_string(lu.right - lu.left) + "×" +
                         std::to_string(lu.bottom - lu.top) + " au lieu de " +
                         std::to_string(attendu.left) + "," + std::to_string(attendu.top) + " " +
                         std::to_string(attendu.right - attendu.left) + "×" +
                         std::to_string(attendu.bottom - attendu.top));
}
} // namespace

std::vector<std::string> Ecarts(HWND dialogue, const std::vector<ControleModele>& modele) {
    std::vector<std::string> ecarts;
    HWND enfant = GetWindow(dialogue, GW_CHILD);
    for (const ControleModele& m : modele) {
        if (!enfant) {
            ecarts.push_back("contrôle " + std::to_string(m.id) + " absent");
            continue;
        }
        Comparer(dialogue, enfant, m, ecarts);
        enfant = GetWindow(enfant, GW_HWNDNEXT);
    }
    if (enfant) ecarts.push_back("contrôles en trop");
    return ecarts;
}

HWND DialogueDuFil(DWORD fil, const std::string& titre) {
    struct Recherche {
        std::wstring titre;
        HWND trouve = nullptr;
    } recherche{VersUtf16(titre)};
    EnumThreadWindows(
        fil,
        [](HWND f, LPARAM l) -> BOOL {
            auto* r = reinterpret_cast<Recherche*>(l);
            wchar_t classe[16] = {};
            GetClassNameW(f, classe, 16);
            if (wcscmp(classe, L"#32770") != 0 || !IsWindowVisible(f)) return TRUE;
            std::wstring texte(256, L'\0');
            texte.resize(static_cast<std::size_t>(GetWindowTextW(f, texte.data(), 256)));
            if (texte != r->titre) return TRUE;
            r->trouve = f;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&recherche));
    return recherche.trouve;
}

} // namespace emporteur::win32::essais_dialogues
