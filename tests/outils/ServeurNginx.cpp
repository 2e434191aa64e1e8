#include "outils/ServeurNginx.h"

#include <chrono>
#include <stdexcept>
#include <thread>

namespace emporteur::test {

namespace {
std::string Configuration(const std::string& d, int port, const std::string& racine,
                          const std::string& directives, const std::string& ecoute) {
    return "daemon off;\nmaster_process off;\nworker_processes 1;\n"
           "pid " +
           d + "/nginx.pid;\nerror_log " + d +
           "/error.log warn;\n"
           "events { worker_connections 256; }\n"
           "http {\n"
           "  log_format emporteur '$connection $status \"$request\" \"$http_range\" "
           "$bytes_sent';\n"
           "  access_log " +
           d +
           "/access.log emporteur;\n"
           "  client_body_temp_path " +
           d +
           "/client;\n"
           "  proxy_temp_path " +
           d +
           "/proxy;\n"
           "  fastcgi_temp_path " +
           d +
           "/fastcgi;\n"
           "  uwsgi_temp_path " +
           d +
           "/uwsgi;\n"
           "  scgi_temp_path " +
           d +
           "/scgi;\n"
           "  keepalive_requests 100000;\n"
           "  default_type application/octet-stream;\n"
           "  server {\n"
           "    listen 127.0.0.1:" +
           std::to_string(port) + ecoute +
           ";\n"
           "    root " +
           racine + ";\n    " + directives +
           "\n"
           "  }\n"
           "}\n";
}
} // namespace

ServeurNginx::ServeurNginx(const std::string& racine, const std::string& directives,
                           const std::string& ecoute) {
    const std::string& d = dossier_.Chemin();
    // Le port libre peut être pris entre-temps : quelques essais.
    for (int essai = 0; !processus_; ++essai) {
        port_ = PortLibre();
        EcrireFichier(d + "/nginx.conf", Configuration(d, port_, racine, directives, ecoute));
        try {
            processus_ = std::make_unique<ProcessusServeur>(
                "/usr/sbin/nginx",
                std::vector<std::string>{"-p", d, "-c", d + "/nginx.conf", "-e", d + "/error.log"},
                port_, d + "/sortie.log");
        } catch (const std::runtime_error&) {
            if (essai == 2) throw;
        }
    }
}

ServeurNginx::~ServeurNginx() = default;

std::string ServeurNginx::JournalAcces() const {
    std::string precedent = LireFichier(dossier_ / "access.log");
    for (int essai = 0, stable = 0; essai < 60 && stable < 3; ++essai) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::string courant = LireFichier(dossier_ / "access.log");
        stable = courant == precedent ? stable + 1 : 0;
        precedent = std::move(courant);
    }
    return precedent;
}

} // namespace emporteur::test
