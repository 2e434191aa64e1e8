#include "foundation/DossiersUtilisateur.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace emporteur {

namespace {
std::string Variable(const char* nom) {
    const char* v = std::getenv(nom);
    return v ? v : "";
}

// Dossier XDG : la variable si elle est absolue, sinon ~/ + défaut.
std::string DossierXdg(const char* variable, const char* defautSousHome) {
    std::string valeur = Variable(variable);
    if (!valeur.empty() && valeur[0] == '/') return valeur;
    const std::string home = Variable("HOME");
    return home.empty() ? std::string() : home + "/" + defautSousHome;
}

// Valeur de XDG_DESKTOP_DIR="..." dans user-dirs.dirs, $HOME développé.
std::string LireDossierBureau(const std::string& fichier, const std::string& home) {
    std::ifstream entree(fichier);
    std::string ligne;
    while (std::getline(entree, ligne)) {
        const std::string cle = "XDG_DESKTOP_DIR=\"";
        if (ligne.rfind(cle, 0) != 0) continue;
        std::string valeur = ligne.substr(cle.size());
        const auto fin = valeur.find('"');
        if (fin == std::string::npos) return {};
        valeur.erase(fin);
        if (valeur.rfind("$HOME", 0) == 0) valeur = home + valeur.substr(5);
        return (!valeur.empty() && valeur[0] == '/') ? valeur : std::string();
    }
    return {};
}
} // namespace

std::string DossierDonneesApplication() {
    return DossierXdg("XDG_DATA_HOME", ".local/share");
}

std::string DossierDonneesLocales() {
    return DossierXdg("XDG_STATE_HOME", ".local/state");
}

std::string DossierConfigurationUtilisateur() {
    return DossierXdg("XDG_CONFIG_HOME", ".config");
}

std::string DossierSysteme() {
    const std::string liste = Variable("XDG_CONFIG_DIRS");
    const std::string premier = liste.substr(0, liste.find(':'));
    return (!premier.empty() && premier[0] == '/') ? premier : "/etc/xdg";
}

std::string DossierBureau() {
    const std::string home = Variable("HOME");
    const std::string config = DossierConfigurationUtilisateur();
    if (!config.empty()) {
        std::string bureau = LireDossierBureau(config + "/user-dirs.dirs", home);
        if (!bureau.empty()) return bureau;
    }
    return home.empty() ? std::string() : home + "/Desktop";
}

std::string CheminProgramme() {
    std::error_code erreur;
    auto chemin = std::filesystem::read_symlink("/proc/self/exe", erreur);
    return erreur ? std::string() : chemin.string();
}

} // namespace emporteur
