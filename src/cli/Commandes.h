#pragma once
// Sous-commandes d'emporteur-cli. Chacune rend le code de sortie du processus :
// 2 pour une erreur d'usage ou de fichier, message sur stderr.

#include <string>
#include <vector>

namespace emporteur::cli {

using Arguments = std::vector<std::string>;

// L'aide générale : toutes les syntaxes, les options générales.
std::string AideGenerale();
// L'aide d'une commande ; vide si la commande n'existe pas.
std::string AideCommande(const std::string& commande);
// Erreur d'usage de `commande` : sa syntaxe et le renvoi à son aide sur stderr ; rend 2.
int ErreurUsage(const std::string& commande);

// Aiguille vers la commande ; --help ou -h parmi ses arguments donne son aide (0).
int Executer(const std::string& commande, const Arguments& args);

int CommandeCatalogue(const Arguments& args);
// 1 si le fichier est sans information de version, 2 s'il est illisible.
int CommandeVersion(const Arguments& args);
int CommandeCrc(const Arguments& args);
int CommandeIngredient(const Arguments& args);
// Ligne de série et signature détachée d'un texte du catalogue.
int CommandeSigner(const Arguments& args);
int CommandeVersionInstallee(const Arguments& args);
// Valeur texte du registre de l'utilisateur : 1 si illisible ou non écrite.
int CommandeRegistre(const Arguments& args);
// Code du fil de la tâche (0, 1, 2), 1 si le catalogue fait défaut, 130 après Ctrl-C.
int CommandeTelecharger(const Arguments& args);
// 0 : du nouveau est offert ; 1 : rien ; 2 : catalogue introuvable ou illisible.
int CommandeVerifier(const Arguments& args);
// Remplace le processus par « emporteur MajDiscrete » s'il y a lieu ; sinon 0, et
// la raison sur stdout. 127 si le programme à fenêtres ne se lance pas.
int CommandeVerificationProgrammee(const Arguments& args);

} // namespace emporteur::cli
