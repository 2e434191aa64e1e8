#include "download/VerrouDestination.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace emporteur {

namespace {
// Un dossier à nous seul : créé 0700 au besoin, refusé s'il est à un autre ou si
// c'est un lien (un autre utilisateur y poserait les verrous à sa guise).
bool DossierPrive(const std::string& chemin) {
    if (::mkdir(chemin.c_str(), 0700) != 0 && errno != EEXIST) return false;
    struct stat st {};
    if (::lstat(chemin.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid())
        return false;
    return (st.st_mode & 077) == 0 || ::chmod(chemin.c_str(), 0700) == 0;
}

std::string DossierVerrous() {
    const char* execution = std::getenv("XDG_RUNTIME_DIR");
    if (execution && execution[0] == '/') {
        const std::string dossier = std::string(execution) + "/emporteur";
        if (DossierPrive(dossier)) return dossier;
    }
    const char* temporaire = std::getenv("TMPDIR");
    const std::string base = temporaire && temporaire[0] == '/' ? temporaire : "/tmp";
    const std::string repli = base + "/emporteur-" + std::to_string(::geteuid());
    return DossierPrive(repli) ? repli : std::string();
}
} // namespace

void VerrouDestination::Rendre() {
    if (poignee_ >= 0) ::close(static_cast<int>(poignee_)); // la fermeture rend le verrou
    poignee_ = -1;
}

std::string VerrouDestination::CheminVerrou(const std::string& dossier,
                                            const std::string& nomLocal) {
    struct stat st {};
    if (::stat(dossier.c_str(), &st) != 0) return {};
    const std::string verrous = DossierVerrous();
    if (verrous.empty()) {
        const std::string barre = !dossier.empty() && dossier.back() == '/' ? "" : "/";
        return dossier + barre + NomVerrouVoisin(nomLocal);
    }
    return verrous + "/" + std::to_string(st.st_dev) + "-" + std::to_string(st.st_ino) + "-" +
           NomEncode(nomLocal) + ".verrou";
}

int VerrouDestination::Tenter(const std::string& dossier, const std::string& nomLocal) {
    Rendre();
    const std::string chemin = CheminVerrou(dossier, nomLocal);
    if (chemin.empty()) return -1;
    // Lecture seule : flock n'en demande pas plus, et un verrou posé à côté du
    // fichier dans un dossier partagé reste ouvrable par les autres copies.
    const int fd = ::open(chemin.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        poignee_ = fd;
        return 1;
    }
    const int erreur = errno;
    ::close(fd);
    return erreur == EWOULDBLOCK ? 0 : -1;
}

} // namespace emporteur
