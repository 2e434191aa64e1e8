// Relais TCP de banc d'essai : écoute sur 127.0.0.1:PORT_ECOUTE, relaie chaque
// connexion vers 127.0.0.1:PORT_CIBLE et retarde chaque octet de DELAI ms dans
// chaque sens (les morceaux partent à leur heure, à la file). Chaque sens ne tient
// pas plus de TAMPON_MIO Mio en route (0 : sans borne, 4 par défaut) : comme un vrai
// chemin, une connexion seule ne peut remplir le tuyau au-delà de tampon / délai.
// S'arrête seul après INACTIVITE s sans connexion ouverte (600 par défaut).
//   retardateur PORT_ECOUTE PORT_CIBLE DELAI_MS [INACTIVITE_S [TAMPON_MIO]]
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using Horloge = std::chrono::steady_clock;

std::atomic<int> ouvertes{0};
std::size_t tamponMax = std::size_t{4} << 20; // octets en route par sens, 0 sans borne
std::atomic<Horloge::rep> derniereActivite{0};

void Noter() {
    derniereActivite = Horloge::now().time_since_epoch().count();
}

// Un sens du relais : un fil lit et date, un autre écrit à l'heure due.
class Sens {
  public:
    Sens(int de, int vers, std::chrono::milliseconds delai) : de_(de), vers_(vers), delai_(delai) {}

    void Lire() {
        for (;;) {
            std::size_t place = 256 * 1024;
            if (tamponMax) {
                std::unique_lock g(verrou_);
                cv_.wait(g, [&] { return enRoute_ < tamponMax || arret_; });
                if (arret_) break;
                place = std::min(place, tamponMax - enRoute_);
            }
            std::vector<char> morceau(place);
            const ssize_t n = ::read(de_, morceau.data(), morceau.size());
            std::lock_guard g(verrou_);
            if (n <= 0) break;
            morceau.resize(static_cast<std::size_t>(n));
            enRoute_ += morceau.size();
            file_.push_back({Horloge::now() + delai_, std::move(morceau)});
            cv_.notify_all();
        }
        std::lock_guard g(verrou_);
        fini_ = true;
        cv_.notify_all();
    }

    void Ecrire() {
        for (;;) {
            std::unique_lock g(verrou_);
            cv_.wait(g, [&] { return fini_ || !file_.empty(); });
            if (file_.empty()) break;
            auto [echeance, morceau] = std::move(file_.front());
            file_.pop_front();
            g.unlock();
            std::this_thread::sleep_until(echeance);
            std::size_t fait = 0;
            while (fait < morceau.size()) {
                // MSG_NOSIGNAL : un client qui ferme en route ne tue pas le relais.
                const ssize_t n =
                    ::send(vers_, morceau.data() + fait, morceau.size() - fait, MSG_NOSIGNAL);
                if (n <= 0) {
                    ::shutdown(de_, SHUT_RD); // l'autre bout est parti : on arrête de lire
                    std::lock_guard arret(verrou_);
                    arret_ = true;
                    cv_.notify_all();
                    return;
                }
                fait += static_cast<std::size_t>(n);
            }
            {
                std::lock_guard rendu(verrou_);
                enRoute_ -= morceau.size();
            }
            cv_.notify_all();
            Noter();
        }
        ::shutdown(vers_, SHUT_WR);
    }

  private:
    struct Morceau {
        Horloge::time_point echeance;
        std::vector<char> octets;
    };
    int de_, vers_;
    std::chrono::milliseconds delai_;
    std::mutex verrou_;
    std::condition_variable cv_;
    std::deque<Morceau> file_;
    std::size_t enRoute_ = 0; // octets lus pas encore écrits
    bool fini_ = false;
    bool arret_ = false;
};

int Connecter(int port) {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<std::uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        ::close(s);
        return -1;
    }
    return s;
}

void Relayer(int client, int portCible, std::chrono::milliseconds delai) {
    const int cible = Connecter(portCible);
    if (cible >= 0) {
        int un = 1;
        ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &un, sizeof un);
        ::setsockopt(cible, IPPROTO_TCP, TCP_NODELAY, &un, sizeof un);
        Sens montant(client, cible, delai), descendant(cible, client, delai);
        std::thread fils[] = {
            std::thread(&Sens::Lire, &montant), std::thread(&Sens::Ecrire, &montant),
            std::thread(&Sens::Lire, &descendant), std::thread(&Sens::Ecrire, &descendant)};
        for (auto& f : fils)
            f.join();
        ::close(cible);
    }
    ::close(client);
    --ouvertes;
    Noter();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage : retardateur PORT_ECOUTE PORT_CIBLE DELAI_MS [INACTIVITE_S "
                     "[TAMPON_MIO]]\n");
        return 2;
    }
    const int portEcoute = std::atoi(argv[1]), portCible = std::atoi(argv[2]);
    const std::chrono::milliseconds delai(std::atoi(argv[3]));
    const std::chrono::seconds inactivite(argc > 4 ? std::atoi(argv[4]) : 600);
    if (argc > 5) tamponMax = static_cast<std::size_t>(std::atoi(argv[5])) << 20;
    const int ecoute = ::socket(AF_INET, SOCK_STREAM, 0);
    int un = 1;
    ::setsockopt(ecoute, SOL_SOCKET, SO_REUSEADDR, &un, sizeof un);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<std::uint16_t>(portEcoute));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK); // jamais hors de la boucle locale
    if (::bind(ecoute, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        ::listen(ecoute, 64) != 0) {
        std::perror("retardateur");
        return 1;
    }
    Noter();
    for (;;) {
        pollfd p{ecoute, POLLIN, 0};
        if (::poll(&p, 1, 1000) > 0) {
            const int client = ::accept(ecoute, nullptr, nullptr);
            if (client < 0) continue;
            ++ouvertes;
            Noter();
            std::thread(Relayer, client, portCible, delai).detach();
            continue;
        }
        const auto calme = Horloge::now().time_since_epoch().count() - derniereActivite.load();
        if (ouvertes == 0 && Horloge::duration(calme) > inactivite) return 0;
    }
}
