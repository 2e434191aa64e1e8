#include "autocheck/AffichageGraphique.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace emporteur {

namespace {
std::string Variable(const char* nom) {
    const char* valeur = std::getenv(nom);
    return valeur ? valeur : "";
}

// Connexion à un socket local ; `abstrait` : dans l'espace abstrait de Linux.
bool SocketJoignable(const std::string& chemin, bool abstrait) {
    sockaddr_un adresse{};
    adresse.sun_family = AF_UNIX;
    const std::size_t decalage = abstrait ? 1 : 0;
    if (chemin.empty() || chemin.size() + decalage >= sizeof(adresse.sun_path)) return false;
    std::memcpy(adresse.sun_path + decalage, chemin.data(), chemin.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const auto longueur =
        static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + decalage + chemin.size());
    const bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&adresse), longueur) == 0;
    ::close(fd);
    return ok;
}

bool WaylandJoignable() {
    const std::string nom = Variable("WAYLAND_DISPLAY");
    if (nom.empty()) return false;
    if (nom.front() == '/') return SocketJoignable(nom, false);
    const std::string execution = Variable("XDG_RUNTIME_DIR");
    return !execution.empty() && SocketJoignable(execution + "/" + nom, false);
}

bool X11Joignable() {
    const std::string affichage = Variable("DISPLAY");
    const auto deuxPoints = affichage.rfind(':');
    if (deuxPoints == std::string::npos) return false;
    const std::string hote = affichage.substr(0, deuxPoints);
    if (!hote.empty() && hote != "unix") return true; // distant : cru sur parole
    std::string numero = affichage.substr(deuxPoints + 1);
    numero = numero.substr(0, numero.find('.'));
    if (numero.empty() || numero.find_first_not_of("0123456789") != std::string::npos) return false;
    const std::string chemin = "/tmp/.X11-unix/X" + numero;
    return SocketJoignable(chemin, true) || SocketJoignable(chemin, false);
}
} // namespace

bool AffichageDisponible() {
    const std::string plateforme = Variable("QT_QPA_PLATFORM");
    const std::string_view premiere = std::string_view(plateforme).substr(0, plateforme.find(';'));
    if (premiere.starts_with("xcb")) return X11Joignable();
    if (premiere.starts_with("wayland")) return WaylandJoignable();
    if (!premiere.empty()) return true; // offscreen, minimal, vnc… : sans écran
    return WaylandJoignable() || X11Joignable();
}

} // namespace emporteur
