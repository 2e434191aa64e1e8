#pragma once
// Le texte d'une fenêtre en UTF-8, comme le noyau le garde : chaque passage par
// Windows se fait en UTF-16.

#include "foundation/ConstantesWin32.h"

#include <string>
#include <string_view>

namespace emporteur::win32 {

void EcrireTexteFenetre(HWND fenetre, std::string_view utf8);
std::string LireTexteFenetre(HWND fenetre);

// Les fins de ligne du noyau ("\n") en celles d'une zone de texte multiligne ("\r\n").
std::string FinsDeLigneWindows(std::string_view texte);

} // namespace emporteur::win32
