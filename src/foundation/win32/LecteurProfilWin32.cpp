#include "foundation/LecteurProfil.h"

#include "foundation/ConstantesWin32.h"
#include "foundation/win32/Utf16.h"

#include <algorithm>

namespace emporteur {

namespace {
// Au-delà, ce n'est plus un réglage : on n'en lit pas plus (en caractères).
constexpr DWORD kLongueurMax = 1 << 20;
} // namespace

std::string profil::LireValeur(const std::string& fichier, const std::string& section,
                               const std::string& cle, const std::string& defaut) {
    // Jamais de pointeur nul : section ou clé nulle ferait énumérer au lieu de lire.
    const std::wstring section16 = VersUtf16(section);
    const std::wstring cle16 = VersUtf16(cle);
    const std::wstring defaut16 = VersUtf16(SansBlancsFinaux(defaut));
    const std::wstring fichier16 = VersUtf16(fichier);
    // Le tampon grandit tant que la valeur y est coupée (longueur rendue = taille - 1).
    std::wstring tampon(1024, L'\0');
    while (true) {
        const DWORD taille = static_cast<DWORD>(tampon.size());
        const DWORD n = GetPrivateProfileStringW(section16.c_str(), cle16.c_str(), defaut16.c_str(),
                                                 tampon.data(), taille, fichier16.c_str());
        if (n + 1 < taille || taille >= kLongueurMax)
            return DepuisUtf16(std::wstring_view(tampon.data(), std::min(n, taille - 1)));
        tampon.assign(static_cast<std::size_t>(taille) * 2, L'\0');
    }
}

} // namespace emporteur
