#include "download/EntreesDossier.h"

#include "foundation/ConstantesWin32.h"
#include "foundation/win32/Utf16.h"

namespace emporteur {

// Les attributs du nom lui-même : GetFileAttributesW ne suit pas les points de
// réanalyse, il rend ceux du lien.
NatureEntree NatureSansSuivre(const std::string& chemin) {
    const DWORD attributs = ::GetFileAttributesW(VersUtf16(chemin).c_str());
    if (attributs == INVALID_FILE_ATTRIBUTES) {
        const DWORD erreur = ::GetLastError();
        return erreur == ERROR_FILE_NOT_FOUND || erreur == ERROR_PATH_NOT_FOUND
                   ? NatureEntree::Absente
                   : NatureEntree::Illisible;
    }
    if (attributs & FILE_ATTRIBUTE_REPARSE_POINT) return NatureEntree::Lien;
    if (attributs & FILE_ATTRIBUTE_DIRECTORY) return NatureEntree::Dossier;
    if (attributs & FILE_ATTRIBUTE_DEVICE) return NatureEntree::Autre;
    return NatureEntree::Fichier;
}

namespace {
// Un fichier ordinaire en lecture seule perd l'attribut pour être retiré ou remplacé,
// comme sous Linux où le droit porte sur le dossier. Vrai si l'attribut a été ôté.
bool OterLectureSeule(const std::wstring& nom, DWORD erreur) {
    const DWORD attributs = ::GetFileAttributesW(nom.c_str());
    constexpr DWORD kAutres = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    const bool ote = erreur == ERROR_ACCESS_DENIED && attributs != INVALID_FILE_ATTRIBUTES &&
                     (attributs & FILE_ATTRIBUTE_READONLY) && !(attributs & kAutres) &&
                     ::SetFileAttributesW(nom.c_str(), attributs & ~DWORD{FILE_ATTRIBUTE_READONLY});
    if (!ote) ::SetLastError(erreur);
    return ote;
}
} // namespace

// Un lien vers un dossier (jonction) se retire comme un dossier : RemoveDirectoryW
// ôte le lien sans toucher à sa cible.
bool RetirerNom(const std::string& chemin) {
    const std::wstring nom = VersUtf16(chemin);
    if (::DeleteFileW(nom.c_str())) return true;
    const DWORD erreur = ::GetLastError();
    if (OterLectureSeule(nom, erreur)) return ::DeleteFileW(nom.c_str());
    const DWORD attributs = ::GetFileAttributesW(nom.c_str());
    if (attributs != INVALID_FILE_ATTRIBUTES && (attributs & FILE_ATTRIBUTE_REPARSE_POINT) &&
        (attributs & FILE_ATTRIBUTE_DIRECTORY))
        return ::RemoveDirectoryW(nom.c_str());
    ::SetLastError(erreur);
    return false;
}

// Un ancien fichier en lecture seule est remplacé comme sous Linux : Windows refuse
// de l'écraser tant que l'attribut reste.
bool RemplacerAtomiquement(const std::string& source, const std::string& cible) {
    const std::wstring de = VersUtf16(source);
    const std::wstring vers = VersUtf16(cible);
    constexpr DWORD kDrapeaux = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if (::MoveFileExW(de.c_str(), vers.c_str(), kDrapeaux)) return true;
    return OterLectureSeule(vers, ::GetLastError()) &&
           ::MoveFileExW(de.c_str(), vers.c_str(), kDrapeaux);
}

void SynchroniserDossier(const std::string&) {}

} // namespace emporteur
