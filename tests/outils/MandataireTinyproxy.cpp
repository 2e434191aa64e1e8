#include "outils/MandataireTinyproxy.h"

#include <stdexcept>

namespace emporteur::test {

namespace {
std::string Configuration(const std::string& d, int port, const std::string& utilisateur,
                          const std::string& motDePasse) {
    std::string c = "Port " + std::to_string(port) +
                    "\nListen 127.0.0.1\nTimeout 60\nAllow 127.0.0.1\n"
                    "LogFile \"" +
                    d +
                    "/tinyproxy.log\"\nLogLevel Info\n"
                    "PidFile \"" +
                    d + "/tinyproxy.pid\"\nMaxClients 20\n";
    if (!utilisateur.empty()) c += "BasicAuth " + utilisateur + " " + motDePasse + "\n";
    return c;
}
} // namespace

MandataireTinyproxy::MandataireTinyproxy(const std::string& utilisateur,
                                         const std::string& motDePasse) {
    const std::string& d = dossier_.Chemin();
    for (int essai = 0; !processus_; ++essai) {
        port_ = PortLibre();
        EcrireFichier(d + "/tinyproxy.conf", Configuration(d, port_, utilisateur, motDePasse));
        try {
            processus_ = std::make_unique<ProcessusServeur>(
                "/usr/bin/tinyproxy", std::vector<std::string>{"-d", "-c", d + "/tinyproxy.conf"},
                port_, d + "/sortie.log");
        } catch (const std::runtime_error&) {
            if (essai == 2) throw;
        }
    }
}

MandataireTinyproxy::~MandataireTinyproxy() = default;

std::string MandataireTinyproxy::Journal() const {
    return LireFichier(dossier_ / "tinyproxy.log");
}

} // namespace emporteur::test
