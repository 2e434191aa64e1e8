#include "download/VerrouDestination.h"

#include "download/EntreesDossier.h"
#include "foundation/ConstantesWin32.h"
#include "foundation/win32/Utf16.h"

#include <shlobj.h>

namespace emporteur {

namespace {
HANDLE Poignee(std::intptr_t p) {
    return reinterpret_cast<HANDLE>(p);
}

// Crée le dossier s'il manque ; refusé si le nom est pris par autre chose qu'un
// vrai dossier (une jonction y mènerait les verrous ailleurs).
bool DossierAccepte(const std::string& chemin) {
    ::CreateDirectoryW(VersUtf16(chemin).c_str(), nullptr);
    return NatureSansSuivre(chemin) == NatureEntree::Dossier;
}

// %LOCALAPPDATA%\Emporteur\Verrous : propre à l'utilisateur, hors de tout dossier
// de destination ; vide s'il ne peut être à nous.
std::string DossierVerrous() {
    PWSTR local = nullptr;
    if (FAILED(::SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &local))) {
        ::CoTaskMemFree(local);
        return {};
    }
    const std::string base = DepuisUtf16(local);
    ::CoTaskMemFree(local);
    const std::string emporteur = base + "\\Emporteur";
    const std::string verrous = emporteur + "\\Verrous";
    return DossierAccepte(emporteur) && DossierAccepte(verrous) ? verrous : std::string();
}

// Volume et index du dossier, lien suivi : deux chemins du même dossier se rejoignent.
bool IdentiteDossier(const std::string& dossier, std::string& identite) {
    const HANDLE h = ::CreateFileW(VersUtf16(dossier).c_str(), FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool lu = ::GetFileInformationByHandle(h, &info);
    ::CloseHandle(h);
    if (!lu) return false;
    const std::uint64_t index =
        (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    identite = std::to_string(info.dwVolumeSerialNumber) + "-" + std::to_string(index);
    return true;
}

// Les noms de fichiers de Windows ignorent la casse : « Setup.exe » et « setup.exe »
// sont un seul fichier, donc un seul verrou.
std::string Majuscules(const std::string& nom) {
    std::wstring large = VersUtf16(nom);
    if (!large.empty()) ::CharUpperBuffW(large.data(), static_cast<DWORD>(large.size()));
    return DepuisUtf16(large);
}
} // namespace

void VerrouDestination::Rendre() {
    if (poignee_ < 0) return;
    // Rendu tout de suite : la fermeture seule le rendrait quand le système le peut.
    OVERLAPPED zone{};
    ::UnlockFileEx(Poignee(poignee_), 0, 1, 0, &zone);
    ::CloseHandle(Poignee(poignee_));
    poignee_ = -1;
}

std::string VerrouDestination::CheminVerrou(const std::string& dossier,
                                            const std::string& nomLocal) {
    std::string identite;
    if (!IdentiteDossier(dossier, identite)) return {};
    const std::string verrous = DossierVerrous();
    if (verrous.empty()) {
        const bool barre = !dossier.empty() && (dossier.back() == '/' || dossier.back() == '\\');
        return dossier + (barre ? "" : "\\") + NomVerrouVoisin(nomLocal);
    }
    return verrous + "\\" + identite + "-" + NomEncode(Majuscules(nomLocal)) + ".verrou";
}

int VerrouDestination::Tenter(const std::string& dossier, const std::string& nomLocal) {
    Rendre();
    const std::string chemin = CheminVerrou(dossier, nomLocal);
    if (chemin.empty()) return -1;
    // Lecture seule et tout partagé : LockFileEx n'en demande pas plus, et un verrou
    // posé à côté du fichier reste ouvrable par les autres copies. Un point de
    // réanalyse n'est pas suivi.
    const HANDLE h =
        ::CreateFileW(VersUtf16(chemin).c_str(), GENERIC_READ,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) return -1;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(h, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY))) {
        ::CloseHandle(h);
        return -1;
    }
    OVERLAPPED zone{};
    if (::LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &zone)) {
        poignee_ = reinterpret_cast<std::intptr_t>(h);
        return 1;
    }
    const DWORD erreur = ::GetLastError();
    ::CloseHandle(h);
    return erreur == ERROR_LOCK_VIOLATION || erreur == ERROR_IO_PENDING ? 0 : -1;
}

} // namespace emporteur
