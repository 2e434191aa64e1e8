#pragma once
// Versions d'un exécutable lues dans sa ressource de version. Un échec n'est jamais
// montré : c'est un faux, un texte vide ou un enregistrement vide.

#include <cstddef>
#include <cstdint>
#include <string>

namespace emporteur {

// Rempli depuis le bloc fixe d'un fichier ; vide et à zéro si le fichier n'en a pas.
struct InfoVersion {
    std::string Valeur;         // valeur demandée par une clé langue/page de code explicite
    std::string VersionFichier; // "%u,%u,%u,%u" : majeur, mineur, build, révision
    std::string VersionProduit;
    std::uint32_t MajeurProduit = 0;
    std::uint32_t MineurProduit = 0;

    InfoVersion() = default;
    // `cle` : huit chiffres hexadécimaux (langue puis page de code). La requête
    // "\StringFileInfo\cle\nomValeur" n'est faite que si l'un des deux est donné.
    explicit InfoVersion(const std::string& chemin, const std::string& cle = {},
                         const std::string& nomValeur = {});
};

// Taille des textes de l'enregistrement, terminateur compris.
inline constexpr std::size_t kTailleTexteVersion = 100;

// Valeur `nom` de la première traduction du fichier (nul : le programme lui-même). Vrai
// si trouvée ; `valeur` coupée à tailleTampon - 1 octets sans couper un caractère.
bool LireValeurVersion(const std::string* chemin, const std::string& nom, std::string& valeur,
                       std::size_t tailleTampon);

// "ProductName" du programme, mis en cache pour la vie du processus sous le chemin de
// l'exécutable. Vrai si le nom a été lu maintenant ou trouvé dans le cache.
bool NomProduitProgramme(std::string& nom, std::size_t tailleTampon);

} // namespace emporteur
