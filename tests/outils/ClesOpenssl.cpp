#include "outils/ClesOpenssl.h"

#include "outils/Processus.h"

#include <atomic>
#include <stdexcept>

namespace emporteur::test {

namespace {
ResultatProcessus Openssl(const std::vector<std::string>& arguments) {
    auto r = Executer("openssl", arguments);
    if (r.code != 0) throw std::runtime_error("openssl : " + r.erreurs);
    return r;
}

std::string FichierNeuf(const DossierTemporaire& d, const std::string& contenu) {
    static std::atomic<int> compteur{0};
    const std::string chemin = d / ("donnees" + std::to_string(compteur++));
    EcrireFichier(chemin, contenu);
    return chemin;
}
} // namespace

CleOpenssl::CleOpenssl(const std::string& courbe)
    : prive_(dossier_ / "cle.pem"), public_(dossier_ / "cle-publique.pem") {
    Openssl({"ecparam", "-name", courbe, "-genkey", "-noout", "-out", prive_});
    Openssl({"pkey", "-in", prive_, "-pubout", "-out", public_});
}

std::string CleOpenssl::PubliquePem() const {
    return LireFichier(public_);
}

std::string CleOpenssl::Signer(const std::string& contenu) const {
    const std::string texte = FichierNeuf(dossier_, contenu);
    Openssl({"dgst", "-sha256", "-sign", prive_, "-out", texte + ".sig", texte});
    return LireFichier(texte + ".sig");
}

bool CleOpenssl::Verifie(const std::string& contenu, const std::string& signature) const {
    const std::string texte = FichierNeuf(dossier_, contenu);
    const std::string sig = FichierNeuf(dossier_, signature);
    const auto r =
        Executer("openssl", {"dgst", "-sha256", "-verify", public_, "-signature", sig, texte});
    return r.code == 0 && r.sortie == "Verified OK\n";
}

std::string AvecSerie(const std::string& texte, unsigned serie, const std::string& expire) {
    const auto fin = texte.find('\n');
    return texte.substr(0, fin + 1) + "# emporteur serie=" + std::to_string(serie) +
           " expire=" + expire + "\n" + texte.substr(fin + 1);
}

std::string Sha256Openssl(const std::string& chemin) {
    const std::string sortie = Openssl({"dgst", "-sha256", "-r", chemin}).sortie;
    return sortie.substr(0, 64);
}

} // namespace emporteur::test
