#include "download/ReglageConnexions.h"

#include "download/TelechargementFichier.h"
#include "foundation/LectureDecimale.h"
#include "foundation/Registre.h"

#include <algorithm>

namespace emporteur {

namespace {
constexpr const char* kCle = "Software\\Mervane\\Orthalis\\Emporteur";
constexpr const char* kValeur = "Connexions";
} // namespace

int LireReglageConnexions() {
    CleOuverte cle;
    std::uint32_t valeur = 1;
    if (OuvrirCle(HKEY_CURRENT_USER, kCle, KEY_READ, cle) != ERROR_SUCCESS ||
        cle.LireDword(kValeur, valeur) != ERROR_SUCCESS)
        return 1;
    return static_cast<int>(std::clamp<std::uint32_t>(valeur, 1, kConnexionsMax));
}

CodeWin32 EnregistrerReglageConnexions(int connexions) {
    CleOuverte cle;
    const CodeWin32 code = CreerCle(HKEY_CURRENT_USER, kCle, KEY_READ | KEY_WRITE, cle);
    if (code != ERROR_SUCCESS) return code;
    return cle.EcrireDword(kValeur,
                           static_cast<std::uint32_t>(std::clamp(connexions, 1, kConnexionsMax)));
}

std::optional<int> LireTexteConnexions(std::string_view texte) {
    std::int32_t n = 0;
    if (!LireEntierStrict(texte, n) || n < 1 || n > kConnexionsMax) return std::nullopt;
    return n;
}

} // namespace emporteur
