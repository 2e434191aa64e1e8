#include "fenetres-win32/TexteFenetre.h"

#include "foundation/win32/Utf16.h"

namespace emporteur::win32 {

void EcrireTexteFenetre(HWND fenetre, std::string_view utf8) {
    SetWindowTextW(fenetre, VersUtf16(utf8).c_str());
}

std::string LireTexteFenetre(HWND fenetre) {
    std::wstring texte(static_cast<std::size_t>(GetWindowTextLengthW(fenetre)) + 1, L'\0');
    texte.resize(static_cast<std::size_t>(
        GetWindowTextW(fenetre, texte.data(), static_cast<int>(texte.size()))));
    return DepuisUtf16(texte);
}

std::string FinsDeLigneWindows(std::string_view texte) {
    std::string sortie;
    sortie.reserve(texte.size() + texte.size() / 16);
    for (std::size_t i = 0; i < texte.size(); ++i) {
        if (texte[i] == '\n' && (i == 0 || texte[i - 1] != '\r')) sortie += '\r';
        sortie += texte[i];
    }
    return sortie;
}

} // namespace emporteur::win32
