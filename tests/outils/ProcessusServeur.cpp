#include "outils/ProcessusServeur.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace emporteur::test {

namespace {
using namespace std::chrono_literals;

sockaddr_in Boucle(int port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<std::uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

// Attend la fin de l'enfant au plus `duree` ; vrai s'il est terminé.
bool AttendreFin(pid_t pid, std::chrono::milliseconds duree) {
    const auto limite = std::chrono::steady_clock::now() + duree;
    do {
        if (::waitpid(pid, nullptr, WNOHANG) == pid) return true;
        std::this_thread::sleep_for(10ms);
    } while (std::chrono::steady_clock::now() < limite);
    return false;
}
} // namespace

int PortLibre() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = Boucle(0);
    socklen_t taille = sizeof a;
    if (s < 0 || ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &taille) != 0) {
        if (s >= 0) ::close(s);
        throw std::runtime_error("PortLibre");
    }
    ::close(s);
    return ntohs(a.sin_port);
}

bool Accepte(int port) {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    if (s < 0) return false;
    sockaddr_in a = Boucle(port);
    const bool ok = ::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(s);
    return ok;
}

ProcessusServeur::ProcessusServeur(const std::string& programme,
                                   const std::vector<std::string>& arguments, int port,
                                   const std::string& journal) {
    std::vector<char*> argv{const_cast<char*>(programme.c_str())};
    for (auto& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork");
    if (pid_ == 0) {
        const int f = ::open(journal.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        if (f >= 0) {
            ::dup2(f, 1);
            ::dup2(f, 2);
        }
        ::execv(programme.c_str(), argv.data());
        ::_exit(127);
    }
    const auto limite = std::chrono::steady_clock::now() + 10s;
    while (!Accepte(port)) {
        const bool fini = AttendreFin(pid_, 0ms);
        if (fini) pid_ = -1;
        if (fini || std::chrono::steady_clock::now() > limite) {
            Arreter();
            throw std::runtime_error(programme + " n'accepte pas de connexion (voir " + journal +
                                     ")");
        }
        std::this_thread::sleep_for(10ms);
    }
}

ProcessusServeur::~ProcessusServeur() {
    Arreter();
}

void ProcessusServeur::Arreter() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    if (!AttendreFin(pid_, 3s)) {
        ::kill(pid_, SIGKILL);
        AttendreFin(pid_, 3s);
    }
    pid_ = -1;
}

} // namespace emporteur::test
