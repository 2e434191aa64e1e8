#include "outils/AffichageFactice.h"

#include <cstring>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace emporteur::test {

namespace {
int Ecouter(const std::string& chemin) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un adresse{};
    adresse.sun_family = AF_UNIX;
    if (fd < 0 || chemin.size() >= sizeof(adresse.sun_path))
        throw std::runtime_error("socket local impossible");
    std::memcpy(adresse.sun_path, chemin.c_str(), chemin.size() + 1);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&adresse), sizeof(adresse)) != 0 ||
        ::listen(fd, 16) != 0) {
        ::close(fd);
        throw std::runtime_error("écoute impossible : " + chemin);
    }
    return fd;
}
} // namespace

AffichageAbsent::AffichageAbsent()
    : wayland_("WAYLAND_DISPLAY", std::nullopt), x11_("DISPLAY", std::nullopt),
      plateforme_("QT_QPA_PLATFORM", std::nullopt) {}

AffichageFactice::AffichageFactice()
    : chemin_(dossier_ / "affichage"), fd_(Ecouter(chemin_)), wayland_("WAYLAND_DISPLAY", chemin_),
      x11_("DISPLAY", std::nullopt), plateforme_("QT_QPA_PLATFORM", std::nullopt) {}

AffichageFactice::~AffichageFactice() {
    ::close(fd_);
}

} // namespace emporteur::test
