#include "messages/FichierJournal.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace emporteur {

FichierJournal::~FichierJournal() {
    if (EstOuvert()) ::close(static_cast<int>(poignee_));
}

bool FichierJournal::Ouvrir(const std::string& chemin) {
    poignee_ = ::open(chemin.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    return EstOuvert();
}

// Une seule écriture par ligne en O_APPEND, sous verrou consultatif.
void FichierJournal::Ajouter(const std::string& ligne) {
    if (!EstOuvert()) return;
    const int fd = static_cast<int>(poignee_);
    ::flock(fd, LOCK_EX);
    std::size_t ecrit = 0;
    while (ecrit < ligne.size()) {
        const ssize_t n = ::write(fd, ligne.data() + ecrit, ligne.size() - ecrit);
        if (n <= 0) break;
        ecrit += static_cast<std::size_t>(n);
    }
    ::fdatasync(fd);
    ::flock(fd, LOCK_UN);
}

} // namespace emporteur
