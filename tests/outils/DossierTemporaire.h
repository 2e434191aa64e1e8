#pragma once
// Dossier temporaire effacé à la destruction, et environnement isolé :
// HOME et XDG_* pointent dans un dossier temporaire le temps d'un test.

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace emporteur::test {

// Séparateur que le programme met entre un dossier et un nom.
#ifdef _WIN32
inline constexpr char kSeparateur[] = "\\";
#else
inline constexpr char kSeparateur[] = "/";
#endif

class DossierTemporaire {
  public:
    DossierTemporaire();
    ~DossierTemporaire();
    DossierTemporaire(const DossierTemporaire&) = delete;
    DossierTemporaire& operator=(const DossierTemporaire&) = delete;

    const std::string& Chemin() const { return chemin_; }
    // Chemin d'un élément du dossier.
    std::string operator/(const std::string& nom) const { return chemin_ + "/" + nom; }

  private:
    std::string chemin_;
};

// Pose une variable d'environnement et rend l'ancienne valeur à la destruction.
class VariableTemporaire {
  public:
    VariableTemporaire(const std::string& nom, const std::optional<std::string>& valeur);
    ~VariableTemporaire();
    VariableTemporaire(const VariableTemporaire&) = delete;
    VariableTemporaire& operator=(const VariableTemporaire&) = delete;

  private:
    std::string nom_;
    std::optional<std::string> ancienne_;
};

#ifdef _WIN32
// Le registre n'a pas de dossier à détourner : HKEY_CURRENT_USER et HKEY_LOCAL_MACHINE
// du processus sont détournés (RegOverridePredefKey) vers deux clés neuves sous
// HKEY_CURRENT_USER\Software\Emporteur-tests, effacées à la fin. Un seul à la fois ; les
// processus lancés voient le vrai registre.
class RegistreIsole {
  public:
    RegistreIsole();
    ~RegistreIsole();
    RegistreIsole(const RegistreIsole&) = delete;
    RegistreIsole& operator=(const RegistreIsole&) = delete;
    // Sous-clé du vrai HKEY_CURRENT_USER qui tient les deux ruches détournées.
    const std::wstring& Racine() const { return racine_; }

  private:
    std::wstring racine_;
};
#endif

// HOME, XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_CONFIG_DIRS, XDG_RUNTIME_DIR, EMPORTEUR_* isolés ;
// sous Windows, le registre aussi.
class EnvironnementIsole {
  public:
    EnvironnementIsole();
    const DossierTemporaire& Racine() const { return racine_; }
    std::string Home() const { return racine_ / "home"; }
    std::string ConfigUtilisateur() const { return racine_ / "home/.config"; }
    std::string Donnees() const { return racine_ / "home/.local/share"; }
    std::string DonneesLocales() const { return racine_ / "home/.local/state"; }
    std::string Systeme() const { return racine_ / "etc/xdg"; }
    std::string Bureau() const { return racine_ / "home/Desktop"; }
    std::string Execution() const { return racine_ / "run"; }

  private:
    DossierTemporaire racine_;
    VariableTemporaire home_, config_, donnees_, systeme_, execution_, serveur_, site_, proxy_;
#ifdef _WIN32
    RegistreIsole registre_;
#endif
};

// Écrit un fichier (octets bruts) ; crée les dossiers parents.
void EcrireFichier(const std::string& chemin, const std::string& contenu);
// Lit un fichier entier ; vide s'il est absent.
std::string LireFichier(const std::string& chemin);
// Octets pseudo-aléatoires reproductibles pour une graine : une plage décalée ou un
// segment mal placé ne ressemble jamais au bon.
std::string OctetsReproductibles(std::size_t taille, std::uint32_t graine);

} // namespace emporteur::test
