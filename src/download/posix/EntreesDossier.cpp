#include "download/EntreesDossier.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace emporteur {

NatureEntree NatureSansSuivre(const std::string& chemin) {
    struct stat st {};
    if (::lstat(chemin.c_str(), &st) != 0)
        return errno == ENOENT ? NatureEntree::Absente : NatureEntree::Illisible;
    if (S_ISREG(st.st_mode)) return NatureEntree::Fichier;
    if (S_ISLNK(st.st_mode)) return NatureEntree::Lien;
    if (S_ISDIR(st.st_mode)) return NatureEntree::Dossier;
    return NatureEntree::Autre;
}

bool RetirerNom(const std::string& chemin) {
    return ::unlink(chemin.c_str()) == 0;
}

bool RemplacerAtomiquement(const std::string& source, const std::string& cible) {
    return ::rename(source.c_str(), cible.c_str()) == 0;
}

void SynchroniserDossier(const std::string& dossier) {
    const int fd = ::open(dossier.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace emporteur
