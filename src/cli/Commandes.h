#pragma once
// Sous-commandes d'emporteur-cli. Chacune rend le code de sortie du processus :
// 2 pour une erreur d'usage ou de fichier, message sur stderr.

#include <string>
#include <vector>

namespace emporteur::cli {

using Arguments = std::vector<std::string>;

const char* Usage();
int Executer(const std::string& commande, const Arguments& args);

int CommandeCatalogue(const Arguments& args);
// 1 si le fichier est sans information de version, 2 s'il est illisible.
int CommandeVersion(const Arguments& args);
int CommandeCrc(const Arguments& args);
int CommandeIngredient(const Arguments& args);
int CommandeVersionInstallee(const Arguments& args);
// Valeur texte du registre de l'utilisateur : 1 si illisible ou non écrite.
int CommandeRegistre(const Arguments& args);
// Code du fil de la tâche (0, 1, 2), 1 si le catalogue fait défaut, 130 après Ctrl-C.
int CommandeTelecharger(const Arguments& args);
// 0 : du nouveau est offert ; 1 : rien ; 2 : catalogue introuvable ou illisible.
int CommandeVerifier(const Arguments& args);

} // namespace emporteur::cli
