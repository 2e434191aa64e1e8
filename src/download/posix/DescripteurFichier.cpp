#include "download/DescripteurFichier.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace emporteur {

namespace {
int Fd(std::intptr_t poignee) {
    return static_cast<int>(poignee);
}

bool EstFichierOrdinaire(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return false;
    if (!S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return false;
    }
    return true;
}
} // namespace

void DescripteurFichier::Liberer(Poignee poignee) {
    ::close(Fd(poignee));
}

DescripteurFichier DescripteurFichier::OuvrirLectureAvec(const std::string& chemin, bool sansLien) {
    DescripteurFichier f(
        ::open(chemin.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | (sansLien ? O_NOFOLLOW : 0)));
    if (f.EstOuvert() && !EstFichierOrdinaire(Fd(f.poignee_))) {
        const int erreur = errno;
        f = DescripteurFichier();
        errno = erreur;
    }
    return f;
}

DescripteurFichier DescripteurFichier::Creer(const std::string& chemin) {
    DescripteurFichier f(::open(
        chemin.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0666));
    if (f.EstOuvert() && !EstFichierOrdinaire(Fd(f.poignee_))) {
        const int erreur = errno;
        f = DescripteurFichier();
        errno = erreur;
    }
    return f;
}

DescripteurFichier DescripteurFichier::CreerNeuf(const std::string& chemin) {
    struct stat st {};
    if (::lstat(chemin.c_str(), &st) == 0) {
        if (S_ISLNK(st.st_mode)) {
            errno = ELOOP;
            return {};
        }
        if (S_ISREG(st.st_mode) && ::unlink(chemin.c_str()) != 0 && errno != ENOENT) return {};
    }
    // O_EXCL : ce qui reparaîtrait sous ce nom entre-temps fait échouer, sans être suivi.
    // En lecture aussi : l'empreinte de l'assemblage se relit par ce même descripteur.
    DescripteurFichier f(::open(
        chemin.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0666));
    return f;
}

DescripteurFichier DescripteurFichier::OuvrirModification(const std::string& chemin) {
    DescripteurFichier f(::open(chemin.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    struct stat st {};
    if (f.EstOuvert() &&
        (::fstat(Fd(f.poignee_), &st) != 0 || !S_ISREG(st.st_mode) || st.st_nlink != 1)) {
        f = DescripteurFichier();
        errno = EINVAL;
    }
    return f;
}

bool DescripteurFichier::Tronquer(std::uint64_t taille) {
    return EstOuvert() && ::ftruncate(Fd(poignee_), static_cast<off_t>(taille)) == 0;
}

std::int64_t DescripteurFichier::Taille() const {
    struct stat st {};
    if (!EstOuvert() || ::fstat(Fd(poignee_), &st) != 0) return -1;
    return static_cast<std::int64_t>(st.st_size);
}

std::int64_t DescripteurFichier::LireA(void* tampon, std::size_t n, std::uint64_t position) const {
    auto* p = static_cast<unsigned char*>(tampon);
    std::size_t fait = 0;
    while (fait < n) {
        const ssize_t lu =
            ::pread(Fd(poignee_), p + fait, n - fait, static_cast<off_t>(position + fait));
        if (lu < 0 && errno == EINTR) continue;
        if (lu < 0) return -1;
        if (lu == 0) break;
        fait += static_cast<std::size_t>(lu);
    }
    return static_cast<std::int64_t>(fait);
}

bool DescripteurFichier::EcrireA(const void* tampon, std::size_t n, std::uint64_t position) {
    const auto* p = static_cast<const unsigned char*>(tampon);
    std::size_t fait = 0;
    while (fait < n) {
        const ssize_t ecrit =
            ::pwrite(Fd(poignee_), p + fait, n - fait, static_cast<off_t>(position + fait));
        if (ecrit < 0 && errno == EINTR) continue;
        if (ecrit <= 0) {
            if (ecrit == 0) errno = EIO;
            return false;
        }
        fait += static_cast<std::size_t>(ecrit);
    }
    return true;
}

bool DescripteurFichier::Synchroniser() {
    return EstOuvert() && ::fsync(Fd(poignee_)) == 0;
}

void DescripteurFichier::LancerEcriture(std::uint64_t debut, std::uint64_t longueur) {
    if (EstOuvert())
        ::sync_file_range(Fd(poignee_), static_cast<off_t>(debut), static_cast<off_t>(longueur),
                          SYNC_FILE_RANGE_WRITE);
}

bool DescripteurFichier::Fermer() {
    if (!EstOuvert()) return true;
    return ::close(Fd(std::exchange(poignee_, kFermee))) == 0;
}

std::int64_t CopierPlage(const DescripteurFichier& source, std::uint64_t positionSource,
                         DescripteurFichier& cible, std::uint64_t positionCible, std::uint64_t n) {
    std::uint64_t fait = 0;
    while (fait < n) {
        loff_t de = static_cast<loff_t>(positionSource + fait);
        loff_t vers = static_cast<loff_t>(positionCible + fait);
        const ssize_t copie = ::copy_file_range(Fd(source.poignee_), &de, Fd(cible.poignee_), &vers,
                                                static_cast<std::size_t>(n - fait), 0);
        if (copie < 0 && errno == EINTR) continue;
        // Système de fichiers sans copie dans le noyau, ou fin apparente : le
        // tampon tranche (certains systèmes rendent 0 à tort).
        if (copie <= 0) {
            if (copie < 0 && errno != EXDEV && errno != EINVAL && errno != ENOSYS &&
                errno != EOPNOTSUPP && errno != ENOTSUP)
                return -1;
            const std::int64_t reste = CopierPlageParTampon(source, positionSource + fait, cible,
                                                            positionCible + fait, n - fait);
            return reste < 0 ? -1 : static_cast<std::int64_t>(fait) + reste;
        }
        fait += static_cast<std::uint64_t>(copie);
    }
    return static_cast<std::int64_t>(fait);
}

int DerniereErreur() {
    return errno;
}

std::string DescriptionErreur(int erreur) {
    switch (erreur) {
    case 0:
        return "?";
    case ENOSPC:
        return "espace disque insuffisant";
    case EDQUOT:
        return "quota de disque dépassé";
    case EIO:
        return "erreur d'entrée-sortie";
    case EACCES:
    case EPERM:
        return "accès refusé";
    case EROFS:
        return "système de fichiers en lecture seule";
    case EFBIG:
        return "fichier trop volumineux";
    case ENOENT:
        return "fichier introuvable";
    case EISDIR:
        return "c'est un dossier";
    default:
        return std::strerror(erreur);
    }
}

} // namespace emporteur
