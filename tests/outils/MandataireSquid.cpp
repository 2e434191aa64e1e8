#include "outils/MandataireSquid.h"

#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace emporteur::test {

namespace {
constexpr const char* kSquid = "/usr/sbin/squid";

std::string Configuration(const std::string& d, int port) {
    return "http_port 127.0.0.1:" + std::to_string(port) +
           "\n"
           "visible_hostname emporteur-test\n"
           "pid_filename " +
           d +
           "/squid.pid\n"
           "cache_log " +
           d +
           "/cache.log\n"
           "access_log stdio:" +
           d +
           "/access.log\n"
           "coredump_dir " +
           d +
           "\n"
           "cache_mem 32 MB\n"
           "maximum_object_size_in_memory 8 MB\n"
           "range_offset_limit -1\n"
           "refresh_pattern . 60 20% 4320\n"
           "http_access allow localhost\n"
           "http_access deny all\n"
           "shutdown_lifetime 0 seconds\n"
           "dns_nameservers 127.0.0.1\n";
}
} // namespace

bool SquidPresent() {
    return ::access(kSquid, X_OK) == 0;
}

MandataireSquid::MandataireSquid() {
    const std::string& d = dossier_.Chemin();
    // Lancé par root, squid passe sous l'utilisateur « proxy », qui doit pouvoir écrire ici.
    ::chmod(d.c_str(), 0777);
    for (int essai = 0; !processus_; ++essai) {
        port_ = PortLibre();
        EcrireFichier(d + "/squid.conf", Configuration(d, port_));
        try {
            processus_ = std::make_unique<ProcessusServeur>(
                kSquid, std::vector<std::string>{"-N", "-f", d + "/squid.conf"}, port_,
                d + "/sortie.log");
        } catch (const std::runtime_error&) {
            if (essai == 2) throw;
        }
    }
}

MandataireSquid::~MandataireSquid() = default;

std::string MandataireSquid::Journal() const {
    return LireFichier(dossier_ / "access.log");
}

} // namespace emporteur::test
