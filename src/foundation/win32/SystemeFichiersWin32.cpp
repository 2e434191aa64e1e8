#include "foundation/SystemeFichiers.h"

#include "foundation/ConstantesWin32.h"
#include "foundation/Fichiers.h"
#include "foundation/win32/Utf16.h"

#include <shlobj.h>

namespace emporteur {

bool EntreeExiste(const std::string& chemin, bool suivreLiens) {
    const std::wstring large = VersUtf16(chemin);
    if (large.empty()) return false;
    if (!suivreLiens) {
        // Les attributs d'un point de réanalyse sont les siens : le lien compte pour lui.
        WIN32_FILE_ATTRIBUTE_DATA attributs{};
        return GetFileAttributesExW(large.c_str(), GetFileExInfoStandard, &attributs) != 0;
    }
    // L'ouverture suit les liens : elle ne réussit que si la cible existe. Aucun droit
    // demandé, et BACKUP_SEMANTICS pour qu'un dossier s'ouvre aussi.
    const HANDLE poignee =
        CreateFileW(large.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (poignee == INVALID_HANDLE_VALUE) return false;
    CloseHandle(poignee);
    return true;
}

namespace systeme {

bool ChercherMotif(const std::string& motif) {
    const std::wstring large = VersUtf16(motif);
    if (large.empty()) return false;
    WIN32_FIND_DATAW trouve{};
    const HANDLE recherche = FindFirstFileW(large.c_str(), &trouve);
    if (recherche == INVALID_HANDLE_VALUE) return false;
    FindClose(recherche);
    return true;
}

bool CreerUnDossier(const std::string& chemin) {
    const std::wstring large = VersUtf16(chemin);
    return !large.empty() && CreateDirectoryW(large.c_str(), nullptr) != 0;
}

void RendreEcrivable(const std::string& chemin) {
    const std::wstring large = VersUtf16(chemin);
    const DWORD attributs = GetFileAttributesW(large.c_str());
    if (attributs == INVALID_FILE_ATTRIBUTES || !(attributs & FILE_ATTRIBUTE_READONLY) ||
        (attributs & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)))
        return;
    // Seul l'attribut lecture seule part ; sans aucun autre, NORMAL est de rigueur.
    const DWORD restants = attributs & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW(large.c_str(), restants ? restants : FILE_ATTRIBUTE_NORMAL);
}

bool EffacerUnFichier(const std::string& chemin) {
    const std::wstring large = VersUtf16(chemin);
    if (large.empty() || !DeleteFileW(large.c_str())) return false;
    SHChangeNotify(SHCNE_DELETE, SHCNF_PATHW, large.c_str(), nullptr);
    return true;
}

} // namespace systeme
} // namespace emporteur
