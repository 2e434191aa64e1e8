#include "foundation/SourceOctets.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace emporteur {

std::unique_ptr<SourceFichier> SourceFichier::Ouvrir(const std::string& chemin) {
    // O_NONBLOCK : un tube nommé ne doit pas bloquer l'ouverture.
    const int fd = ::open(chemin.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return nullptr;
    struct stat etat {};
    if (::fstat(fd, &etat) != 0 || !S_ISREG(etat.st_mode) || etat.st_size < 0) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<SourceFichier>(
        new SourceFichier(fd, static_cast<std::uint64_t>(etat.st_size)));
}

SourceFichier::~SourceFichier() {
    ::close(static_cast<int>(descripteur_));
}

bool SourceFichier::Lire(std::uint64_t position, std::size_t taille, std::uint8_t* dest) const {
    if (!Contient(position, taille)) return false;
    std::size_t lus = 0;
    while (lus < taille) {
        const ssize_t n = ::pread(static_cast<int>(descripteur_), dest + lus, taille - lus,
                                  static_cast<off_t>(position + lus));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false; // fichier raccourci entre-temps, ou erreur
        lus += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace emporteur
