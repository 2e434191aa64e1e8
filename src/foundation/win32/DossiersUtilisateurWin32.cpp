#include "foundation/DossiersUtilisateur.h"

#include "foundation/ConstantesWin32.h"
#include "foundation/win32/Utf16.h"

#include <knownfolders.h>
#include <shlobj.h>

namespace emporteur {

namespace {
// Chemin d'un dossier connu ; vide si le système ne le donne pas. Pas de création : un
// dossier absent est à la charge de qui l'utilise.
std::string DossierConnu(REFKNOWNFOLDERID dossier) {
    PWSTR chemin = nullptr;
    std::string utf8;
    if (SHGetKnownFolderPath(dossier, KF_FLAG_DONT_VERIFY, nullptr, &chemin) == S_OK && chemin)
        utf8 = DepuisUtf16(chemin);
    CoTaskMemFree(chemin); // à libérer même en cas d'échec
    return utf8;
}
} // namespace

std::string DossierDonneesApplication() {
    return DossierConnu(FOLDERID_RoamingAppData);
}

std::string DossierDonneesLocales() {
    return DossierConnu(FOLDERID_LocalAppData);
}

std::string DossierConfigurationUtilisateur() {
    return DossierConnu(FOLDERID_RoamingAppData);
}

std::string DossierSysteme() {
    return DossierConnu(FOLDERID_Windows);
}

std::string DossierBureau() {
    return DossierConnu(FOLDERID_Desktop);
}

std::string CheminProgramme() {
    // Le tampon grandit tant que le chemin y est coupé (au-delà de MAX_PATH possible).
    std::wstring tampon(MAX_PATH, L'\0');
    while (tampon.size() <= 32768) {
        const DWORD n =
            GetModuleFileNameW(nullptr, tampon.data(), static_cast<DWORD>(tampon.size()));
        if (n == 0) return {};
        if (n < tampon.size()) return DepuisUtf16(std::wstring_view(tampon.data(), n));
        tampon.resize(tampon.size() * 2);
    }
    return {};
}

} // namespace emporteur
