#include "outils/DossierTemporaire.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#ifdef _WIN32
#include <random>
#include <utility>
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace emporteur::test {

namespace fs = std::filesystem;

namespace {
#ifdef _WIN32
// Sous Windows : pas de droits POSIX à rendre ; dossier unique sous %TEMP%, en UTF-8.
void RendreEffacable(const fs::path&) {}

std::string Utf8(const std::wstring& large) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, large.data(), static_cast<int>(large.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string etroit(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, large.data(), static_cast<int>(large.size()), etroit.data(), n,
                        nullptr, nullptr);
    return etroit;
}

std::string CreerDossierUnique() {
    wchar_t base[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, base);
    if (n == 0 || n > MAX_PATH) throw std::runtime_error("GetTempPathW");
    std::random_device alea;
    for (int essai = 0; essai < 100; ++essai) {
        const std::wstring chemin = std::wstring(base, n) + L"emporteur-" + std::to_wstring(alea());
        if (CreateDirectoryW(chemin.c_str(), nullptr)) {
            std::string utf8 = Utf8(chemin);
            for (char& c : utf8)
                if (c == '\\') c = '/';
            return utf8;
        }
    }
    throw std::runtime_error("CreateDirectoryW");
}

fs::path Natif(const std::string& utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                      nullptr, 0);
    std::wstring large(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), large.data(), n);
    return large;
}

int setenv(const char* nom, const char* valeur, int) { return _putenv_s(nom, valeur); }
int unsetenv(const char* nom) { return _putenv_s(nom, ""); }
#else
fs::path Natif(const std::string& chemin) { return chemin; }

// Rend l'écriture à tout l'arbre, pour pouvoir l'effacer même après un chmod de test.
void RendreEffacable(const fs::path& racine) {
    std::error_code e;
    ::chmod(racine.c_str(), 0700);
    for (auto it = fs::recursive_directory_iterator(racine, e); !e && it != fs::end(it);
         it.increment(e)) {
        if (!it->is_symlink()) ::chmod(it->path().c_str(), it->is_directory() ? 0700 : 0600);
    }
}

std::string CreerDossierUnique() {
    const char* base = std::getenv("TMPDIR");
    std::string modele = std::string(base && *base ? base : "/tmp") + "/emporteur-XXXXXX";
    if (!::mkdtemp(modele.data())) throw std::runtime_error("mkdtemp");
    return modele;
}
#endif
} // namespace

DossierTemporaire::DossierTemporaire() : chemin_(CreerDossierUnique()) {}

DossierTemporaire::~DossierTemporaire() {
    RendreEffacable(chemin_);
    std::error_code e;
    fs::remove_all(Natif(chemin_), e);
}

VariableTemporaire::VariableTemporaire(const std::string& nom,
                                       const std::optional<std::string>& valeur)
    : nom_(nom) {
    if (const char* v = std::getenv(nom.c_str())) ancienne_ = v;
    if (valeur)
        setenv(nom.c_str(), valeur->c_str(), 1);
    else
        unsetenv(nom.c_str());
}

VariableTemporaire::~VariableTemporaire() {
    if (ancienne_)
        setenv(nom_.c_str(), ancienne_->c_str(), 1);
    else
        unsetenv(nom_.c_str());
}

#ifdef _WIN32
RegistreIsole::RegistreIsole() {
    static unsigned compteur = 0;
    racine_ = L"Software\\Emporteur-tests\\" + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(++compteur);
    for (auto [ruche, nom] : {std::pair{HKEY_CURRENT_USER, L"\\Utilisateur"},
                              std::pair{HKEY_LOCAL_MACHINE, L"\\Machine"}}) {
        HKEY cle = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, (racine_ + nom).c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &cle, nullptr) != ERROR_SUCCESS)
            throw std::runtime_error("RegCreateKeyExW");
        const LSTATUS code = RegOverridePredefKey(ruche, cle);
        RegCloseKey(cle); // le détournement garde sa propre poignée
        if (code != ERROR_SUCCESS) throw std::runtime_error("RegOverridePredefKey");
    }
}

RegistreIsole::~RegistreIsole() {
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegDeleteTreeW(HKEY_CURRENT_USER, racine_.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Emporteur-tests"); // seulement si vide
}

namespace {
// Les dossiers connus de l'utilisateur se lisent sous HKEY_CURRENT_USER, détourné : on
// les envoie dans le dossier temporaire, comme les XDG_* ailleurs.
void IsolerDossiersConnus(const EnvironnementIsole& env) {
    HKEY cle = nullptr;
    const wchar_t* dossiers =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    if (RegCreateKeyExW(HKEY_CURRENT_USER, dossiers, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &cle,
                        nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("RegCreateKeyExW");
    for (auto [nom, dossier] :
         {std::pair{L"AppData", env.Donnees()}, std::pair{L"Local AppData", env.DonneesLocales()},
          std::pair{L"Desktop", env.Bureau()}}) {
        fs::create_directories(Natif(dossier));
        const std::wstring large = Natif(dossier).wstring();
        RegSetValueExW(cle, nom, 0, REG_SZ, reinterpret_cast<const BYTE*>(large.c_str()),
                       static_cast<DWORD>((large.size() + 1) * sizeof(wchar_t)));
    }
    RegCloseKey(cle);
}
} // namespace
#endif

EnvironnementIsole::EnvironnementIsole()
    : home_("HOME", racine_ / "home"), config_("XDG_CONFIG_HOME", racine_ / "home/.config"),
      donnees_("XDG_DATA_HOME", racine_ / "home/.local/share"),
      systeme_("XDG_CONFIG_DIRS", racine_ / "etc/xdg"), execution_("XDG_RUNTIME_DIR", Execution()),
      serveur_("EMPORTEUR_SERVEUR", std::nullopt), site_("EMPORTEUR_SITE", std::nullopt),
      proxy_("http_proxy", std::nullopt) {
    fs::create_directories(Natif(Home()));
    fs::create_directories(Natif(Execution()));
    fs::permissions(Natif(Execution()), fs::perms::owner_all);
#ifdef _WIN32
    IsolerDossiersConnus(*this);
#endif
}

void EcrireFichier(const std::string& chemin, const std::string& contenu) {
    fs::create_directories(Natif(chemin).parent_path());
    std::ofstream sortie(Natif(chemin), std::ios::binary | std::ios::trunc);
    sortie.write(contenu.data(), static_cast<std::streamsize>(contenu.size()));
}

std::string LireFichier(const std::string& chemin) {
    std::ifstream entree(Natif(chemin), std::ios::binary);
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
