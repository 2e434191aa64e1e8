#include "outils/ProduitInstalle.h"

#include "foundation/CleRegistre.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace emporteur::test {

namespace {
constexpr const char* kCleInstallation = "Software\\Mervane\\Orthalis\\6.0\\Installation";
constexpr const char* kCleProxy = "Software\\Mervane\\Orthalis\\Emporteur";
} // namespace

std::string InstallerProduit(const EnvironnementIsole& env, bool avecExecutable) {
    const std::string dossier = env.Racine() / "Programmes/Mervane/Orthalis 6";
    const std::string fixture = std::string(EMPORTEUR_FIXTURES_VERSION) + "/produit32.exe";
    if (avecExecutable)
        EcrireFichier(dossier + "/Orthal32.exe", LireFichier(fixture));
    else
        EcrireFichier(dossier + "/Lisezmoi.txt", "rien");
    CleOuverte cle;
    CreerCle(HKEY_CURRENT_USER, kCleInstallation, KEY_READ | KEY_WRITE, cle);
    cle.EcrireTexte("DossierOrthalis", dossier);
    return dossier;
}

bool LireProxyMemorise(std::string& serveur, std::uint32_t& port) {
    CleRegistre cle;
    return cle.OuvrirCle(HKEY_CURRENT_USER, kCleProxy, KEY_READ) == ERROR_SUCCESS &&
           cle.LireTexte("Serveur", serveur) == ERROR_SUCCESS &&
           cle.Cle().LireDword("Port", port) == ERROR_SUCCESS;
}

void MemoriserProxy(const std::string& serveur, std::uint32_t port) {
    CleOuverte cle;
    CreerCle(HKEY_CURRENT_USER, kCleProxy, KEY_READ | KEY_WRITE, cle);
    cle.EcrireTexte("Serveur", serveur);
    cle.EcrireDword("Port", port);
}

int PortFerme() {
    // Le noyau donne un port libre ; la prise fermée, personne n'y écoute.
    const int prise = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in adresse{};
    adresse.sin_family = AF_INET;
    adresse.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t taille = sizeof adresse;
    ::bind(prise, reinterpret_cast<sockaddr*>(&adresse), taille);
    ::getsockname(prise, reinterpret_cast<sockaddr*>(&adresse), &taille);
    ::close(prise);
    return ntohs(adresse.sin_port);
}

} // namespace emporteur::test
