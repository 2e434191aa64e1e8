#pragma once
// Lecture des arguments et des fichiers communs aux sous-commandes.

#include <map>
#include <set>
#include <string>
#include <vector>

namespace emporteur::cli {

struct Options {
    std::vector<std::string> positions;
    std::map<std::string, std::string> valeurs; // options suivies d'une valeur
    std::set<std::string> drapeaux;             // options sans valeur
};

// Faux (message sur stderr) pour une option inconnue ou sans sa valeur. Une option à
// valeur s'écrit « --opt valeur » ou « --opt=valeur » ; « -q » vaut « --quiet ».
bool LireOptions(const std::vector<std::string>& args, const std::set<std::string>& avecValeur,
                 const std::set<std::string>& sansValeur, Options& options);

// Faux (message sur stderr) si deux des options `noms` sont données ensemble.
bool Exclusives(const Options& options, const std::vector<std::string>& noms);

// Lit un fichier en octets bruts ; faux et message sur stderr si illisible.
bool LireFichier(const std::string& chemin, std::string& contenu);

// Lit un texte comme s'il venait du serveur (NormaliserTexteServeur).
bool LireTexteServeur(const std::string& chemin, std::string& texte);

} // namespace emporteur::cli
