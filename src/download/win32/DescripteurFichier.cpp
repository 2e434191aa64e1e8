#include "download/DescripteurFichier.h"

#include "download/EntreesDossier.h"
#include "foundation/ConstantesWin32.h"
#include "foundation/win32/Utf16.h"

#include <algorithm>
#include <utility>

namespace emporteur {

namespace {
// Comme un descripteur POSIX : les autres ouvertures ne sont pas gênées, et un
// fichier ouvert peut être renommé ou retiré (l'assemblage, les segments).
constexpr DWORD kPartage = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Un appel de lecture ou d'écriture prend au plus 1 Gio (DWORD).
constexpr std::size_t kMorceauAppel = 1u << 30;
// ERROR_DISK_QUOTA_EXCEEDED, absent des en-têtes de mingw.
constexpr DWORD kQuotaDepasse = 1295;

HANDLE Natif(std::intptr_t p) {
    return reinterpret_cast<HANDLE>(p);
}
std::intptr_t Entier(HANDLE h) {
    return reinterpret_cast<std::intptr_t>(h);
}

HANDLE Ouvrir(const std::string& chemin, DWORD acces, DWORD disposition, DWORD drapeaux) {
    return ::CreateFileW(VersUtf16(chemin).c_str(), acces, kPartage, nullptr, disposition,
                         FILE_ATTRIBUTE_NORMAL | drapeaux, nullptr);
}

// Un fichier ordinaire du disque : ni tube, ni périphérique, ni dossier ; avec
// `sansLien`, ni point de réanalyse (lien symbolique, jonction : ouverts pour
// eux-mêmes par FILE_FLAG_OPEN_REPARSE_POINT, jamais suivis). `nomUnique` : un seul nom.
bool Admissible(HANDLE h, bool sansLien, bool nomUnique) {
    if (::GetFileType(h) != FILE_TYPE_DISK) {
        ::SetLastError(ERROR_INVALID_FUNCTION);
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(h, &info)) return false;
    DWORD refus = ERROR_SUCCESS;
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        refus = ERROR_DIRECTORY;
    else if (sansLien && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        refus = ERROR_CANT_RESOLVE_FILENAME;
    else if (nomUnique && info.nNumberOfLinks != 1)
        refus = ERROR_INVALID_PARAMETER;
    if (refus == ERROR_SUCCESS) return true;
    ::SetLastError(refus);
    return false;
}

// Garde la poignée si elle est admissible, la ferme sinon (l'erreur survit à la fermeture).
std::intptr_t Garder(HANDLE h, bool sansLien, bool nomUnique) {
    if (h != INVALID_HANDLE_VALUE && !Admissible(h, sansLien, nomUnique)) {
        const DWORD erreur = ::GetLastError();
        ::CloseHandle(h);
        ::SetLastError(erreur);
        h = INVALID_HANDLE_VALUE;
    }
    return Entier(h);
}

OVERLAPPED A(std::uint64_t position) {
    OVERLAPPED o{};
    o.Offset = static_cast<DWORD>(position & 0xFFFFFFFFu);
    o.OffsetHigh = static_cast<DWORD>(position >> 32);
    return o;
}
} // namespace

void DescripteurFichier::Liberer(Poignee poignee) {
    ::CloseHandle(Natif(poignee));
}

DescripteurFichier DescripteurFichier::OuvrirLectureAvec(const std::string& chemin, bool sansLien) {
    const HANDLE h =
        Ouvrir(chemin, GENERIC_READ, OPEN_EXISTING, sansLien ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    return DescripteurFichier(Garder(h, sansLien, false));
}

// OPEN_ALWAYS puis troncature : CREATE_ALWAYS écraserait un point de réanalyse
// avant qu'on ait pu le refuser.
DescripteurFichier DescripteurFichier::Creer(const std::string& chemin) {
    DescripteurFichier f(Garder(
        Ouvrir(chemin, GENERIC_WRITE, OPEN_ALWAYS, FILE_FLAG_OPEN_REPARSE_POINT), true, false));
    if (f.EstOuvert() && !f.Tronquer(0)) return {};
    return f;
}

DescripteurFichier DescripteurFichier::CreerNeuf(const std::string& chemin) {
    const NatureEntree nature = NatureSansSuivre(chemin);
    if (nature == NatureEntree::Lien) {
        ::SetLastError(ERROR_CANT_RESOLVE_FILENAME);
        return {};
    }
    if (nature == NatureEntree::Fichier && !RetirerNom(chemin) &&
        ::GetLastError() != ERROR_FILE_NOT_FOUND)
        return {};
    // CREATE_NEW : ce qui reparaîtrait sous ce nom entre-temps fait échouer, sans être suivi.
    const HANDLE h =
        Ouvrir(chemin, GENERIC_READ | GENERIC_WRITE, CREATE_NEW, FILE_FLAG_OPEN_REPARSE_POINT);
    return DescripteurFichier(Entier(h));
}

DescripteurFichier DescripteurFichier::OuvrirModification(const std::string& chemin) {
    return DescripteurFichier(Garder(
        Ouvrir(chemin, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT),
        true, true));
}

bool DescripteurFichier::Tronquer(std::uint64_t taille) {
    if (!EstOuvert()) return false;
    FILE_END_OF_FILE_INFO fin{};
    fin.EndOfFile.QuadPart = static_cast<LONGLONG>(taille);
    return ::SetFileInformationByHandle(Natif(poignee_), FileEndOfFileInfo, &fin, sizeof fin);
}

std::int64_t DescripteurFichier::Taille() const {
    LARGE_INTEGER taille{};
    if (!EstOuvert() || !::GetFileSizeEx(Natif(poignee_), &taille)) return -1;
    return taille.QuadPart;
}

// Lecture positionnelle : le décalage va dans l'OVERLAPPED, la poignée synchrone attend.
std::int64_t DescripteurFichier::LireA(void* tampon, std::size_t n, std::uint64_t position) const {
    auto* p = static_cast<unsigned char*>(tampon);
    std::size_t fait = 0;
    while (fait < n) {
        OVERLAPPED o = A(position + fait);
        DWORD lu = 0;
        const auto demande = static_cast<DWORD>(std::min(n - fait, kMorceauAppel));
        if (!::ReadFile(Natif(poignee_), p + fait, demande, &lu, &o)) {
            if (::GetLastError() == ERROR_HANDLE_EOF) break;
            return -1;
        }
        if (lu == 0) break;
        fait += lu;
    }
    return static_cast<std::int64_t>(fait);
}

bool DescripteurFichier::EcrireA(const void* tampon, std::size_t n, std::uint64_t position) {
    const auto* p = static_cast<const unsigned char*>(tampon);
    std::size_t fait = 0;
    while (fait < n) {
        OVERLAPPED o = A(position + fait);
        DWORD ecrit = 0;
        const auto demande = static_cast<DWORD>(std::min(n - fait, kMorceauAppel));
        if (!::WriteFile(Natif(poignee_), p + fait, demande, &ecrit, &o)) return false;
        if (ecrit == 0) {
            ::SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        fait += ecrit;
    }
    return true;
}

// FlushFileBuffers veut un accès en écriture : une ouverture en lecture seule passe
// par une seconde poignée du même fichier (le cache est celui du fichier).
bool DescripteurFichier::Synchroniser() {
    if (!EstOuvert()) return false;
    if (::FlushFileBuffers(Natif(poignee_))) return true;
    if (::GetLastError() != ERROR_ACCESS_DENIED) return false;
    const HANDLE ecriture = ::ReOpenFile(Natif(poignee_), GENERIC_WRITE, kPartage, 0);
    if (ecriture == INVALID_HANDLE_VALUE) return false;
    const bool fait = ::FlushFileBuffers(ecriture);
    const DWORD erreur = ::GetLastError();
    ::CloseHandle(ecriture);
    ::SetLastError(erreur);
    return fait;
}

// Windows n'écrit pas une plage à part : tout le fichier part sur le disque. Par une
// seconde poignée : les appels synchrones d'une même poignée passent l'un après
// l'autre, et l'écriture du fil du réseau attendrait la fin de la mise sur le disque.
void DescripteurFichier::LancerEcriture(std::uint64_t, std::uint64_t) {
    if (!EstOuvert()) return;
    const HANDLE seconde = ::ReOpenFile(Natif(poignee_), GENERIC_WRITE, kPartage, 0);
    if (seconde == INVALID_HANDLE_VALUE) return;
    ::FlushFileBuffers(seconde);
    ::CloseHandle(seconde);
}

bool DescripteurFichier::Fermer() {
    if (!EstOuvert()) return true;
    return ::CloseHandle(Natif(std::exchange(poignee_, kFermee)));
}

// Pas de copie dans le noyau qui tienne des décalages : le tampon borné.
std::int64_t CopierPlage(const DescripteurFichier& source, std::uint64_t positionSource,
                         DescripteurFichier& cible, std::uint64_t positionCible, std::uint64_t n) {
    return CopierPlageParTampon(source, positionSource, cible, positionCible, n);
}

int DerniereErreur() {
    return static_cast<int>(::GetLastError());
}

std::string DescriptionErreur(int erreur) {
    switch (static_cast<DWORD>(erreur)) {
    case ERROR_SUCCESS:
        return "?";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return "espace disque insuffisant";
    case kQuotaDepasse:
        return "quota de disque dépassé";
    case ERROR_IO_DEVICE:
    case ERROR_CRC:
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT:
        return "erreur d'entrée-sortie";
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return "accès refusé";
    case ERROR_WRITE_PROTECT:
        return "système de fichiers en lecture seule";
    case ERROR_FILE_TOO_LARGE:
        return "fichier trop volumineux";
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return "fichier introuvable";
    case ERROR_DIRECTORY:
        return "c'est un dossier";
    case ERROR_CANT_RESOLVE_FILENAME:
        return "lien refusé";
    default:
        return "erreur système " + std::to_string(erreur);
    }
}

} // namespace emporteur
