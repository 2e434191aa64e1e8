#include "download/EspaceDisque.h"

#include <cerrno>
#include <sys/statvfs.h>

namespace emporteur {

bool EspaceDisponible(const std::string& dossier, std::uint64_t& libre, int& erreur) {
    struct statvfs etat {};
    if (::statvfs(dossier.c_str(), &etat) != 0) {
        erreur = errno;
        return false;
    }
    libre = static_cast<std::uint64_t>(etat.f_bavail) * etat.f_frsize;
    return true;
}

} // namespace emporteur
