#pragma once
// Lecture des arguments et des fichiers communs aux sous-commandes.

#include "catalogue/RecuperationCatalogue.h"
#include "commun/ContexteTelechargement.h"

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

// --serveur, s'il est donné, devient le serveur du contexte.
void AppliquerServeur(ContexteTelechargement& ctx, const Options& options);

// Sur stderr, ce qu'un verdict manqué dit à l'utilisateur : sans personne pour
// répondre, les adresses du repli ou du nouvel Emporteur sont imprimées, pas ouvertes.
void ImprimerVerdict(const ContexteTelechargement& ctx, const VerdictCatalogue& verdict,
                     bool miseANiveau = false);

} // namespace emporteur::cli
