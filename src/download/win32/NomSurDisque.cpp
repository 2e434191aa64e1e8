#include "download/NomSurDisque.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace emporteur {

namespace {
// Les noms de périphériques valent pour toute extension ("nul.txt") et toute casse.
bool EstPeripherique(const std::string& nom) {
    std::string base = nom.substr(0, nom.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    for (char& c : base)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    constexpr std::array<std::string_view, 6> kSimples = {"CON", "PRN",    "AUX",
                                                          "NUL", "CONIN$", "CONOUT$"};
    if (std::find(kSimples.begin(), kSimples.end(), base) != kSimples.end()) return true;
    return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) &&
           base[3] >= '0' && base[3] <= '9';
}
} // namespace

bool NomAccepteParLeSysteme(const std::string& nom) {
    constexpr std::string_view kInterdits = "\\/:*?\"<>|";
    for (const unsigned char c : nom)
        if (c < 0x20 || kInterdits.find(static_cast<char>(c)) != std::string_view::npos)
            return false;
    return !nom.empty() && nom.back() != '.' && nom.back() != ' ' && !EstPeripherique(nom);
}

} // namespace emporteur
