#include "outils/AutoritePrivee.h"

#include "outils/Processus.h"

#include <stdexcept>
#include <vector>

namespace emporteur::test {

namespace {
void Openssl(const std::vector<std::string>& arguments) {
    const auto r = Executer("openssl", arguments);
    if (r.code != 0) throw std::runtime_error("openssl : " + r.erreurs);
}
} // namespace

AutoritePrivee::AutoritePrivee() {
    const auto d = [this](const std::string& nom) { return dossier_ / nom; };
    EcrireFichier(d("serveur.ext"), "subjectAltName=IP:127.0.0.1\n"
                                    "basicConstraints=CA:FALSE\n"
                                    "extendedKeyUsage=serverAuth\n");
    Openssl({"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
             "/CN=Autorite privee de test", "-keyout", d("autorite.key"), "-out",
             d("autorite.pem")});
    Openssl({"req", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=127.0.0.1", "-keyout",
             d("serveur.key"), "-out", d("serveur.csr")});
    Openssl({"x509", "-req", "-in", d("serveur.csr"), "-CA", d("autorite.pem"), "-CAkey",
             d("autorite.key"), "-CAcreateserial", "-days", "2", "-extfile", d("serveur.ext"),
             "-out", d("serveur.pem")});
    // Le dossier d'autorités : chaque certificat sous le nom de son empreinte de sujet.
    const auto hachage =
        Executer("openssl", {"x509", "-noout", "-subject_hash", "-in", d("autorite.pem")});
    if (hachage.code != 0 || hachage.sortie.size() < 8) throw std::runtime_error("openssl x509");
    EcrireFichier(DossierAutorites() + "/" + hachage.sortie.substr(0, 8) + ".0",
                  LireFichier(d("autorite.pem")));
}

std::string AutoritePrivee::DirectivesNginx() const {
    return "ssl_certificate " + CertificatServeur() + ";\n    ssl_certificate_key " + CleServeur() +
           ";";
}

} // namespace emporteur::test
