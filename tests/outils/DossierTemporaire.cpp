#include "outils/DossierTemporaire.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>

namespace emporteur::test {

namespace fs = std::filesystem;

namespace {
// Rend l'écriture à tout l'arbre, pour pouvoir l'effacer même après un chmod de test.
void RendreEffacable(const fs::path& racine) {
    std::error_code e;
    ::chmod(racine.c_str(), 0700);
    for (auto it = fs::recursive_directory_iterator(racine, e); !e && it != fs::end(it);
         it.increment(e)) {
        if (!it->is_symlink()) ::chmod(it->path().c_str(), it->is_directory() ? 0700 : 0600);
    }
}
} // namespace

DossierTemporaire::DossierTemporaire() {
    const char* base = std::getenv("TMPDIR");
    std::string modele = std::string(base && *base ? base : "/tmp") + "/emporteur-XXXXXX";
    if (!::mkdtemp(modele.data())) throw std::runtime_error("mkdtemp");
    chemin_ = modele;
}

DossierTemporaire::~DossierTemporaire() {
    RendreEffacable(chemin_);
    std::error_code e;
    fs::remove_all(chemin_, e);
}

VariableTemporaire::VariableTemporaire(const std::string& nom,
                                       const std::optional<std::string>& valeur)
    : nom_(nom) {
    if (const char* v = std::getenv(nom.c_str())) ancienne_ = v;
    if (valeur)
        ::setenv(nom.c_str(), valeur->c_str(), 1);
    else
        ::unsetenv(nom.c_str());
}

VariableTemporaire::~VariableTemporaire() {
    if (ancienne_)
        ::setenv(nom_.c_str(), ancienne_->c_str(), 1);
    else
        ::unsetenv(nom_.c_str());
}

EnvironnementIsole::EnvironnementIsole()
    : home_("HOME", racine_ / "home"), config_("XDG_CONFIG_HOME", racine_ / "home/.config"),
      donnees_("XDG_DATA_HOME", racine_ / "home/.local/share"),
      systeme_("XDG_CONFIG_DIRS", racine_ / "etc/xdg"), execution_("XDG_RUNTIME_DIR", Execution()),
      serveur_("EMPORTEUR_SERVEUR", std::nullopt), site_("EMPORTEUR_SITE", std::nullopt),
      proxy_("http_proxy", std::nullopt) {
    fs::create_directories(Home());
    fs::create_directories(Execution());
    fs::permissions(Execution(), fs::perms::owner_all);
}

void EcrireFichier(const std::string& chemin, const std::string& contenu) {
    fs::create_directories(fs::path(chemin).parent_path());
    std::ofstream sortie(chemin, std::ios::binary | std::ios::trunc);
    sortie.write(contenu.data(), static_cast<std::streamsize>(contenu.size()));
}

std::string LireFichier(const std::string& chemin) {
    std::ifstream entree(chemin, std::ios::binary);
    std::ostringstream tampon;
    tampon << entree.rdbuf();
    return tampon.str();
}

std::string OctetsReproductibles(std::size_t taille, std::uint32_t graine) {
    std::string s(taille, '\0');
    for (auto& c : s) {
        graine = graine * 1103515245u + 12345u;
        c = static_cast<char>(graine >> 16);
    }
    return s;
}

} // namespace emporteur::test
