#pragma once
// Lance un programme et recueille sa sortie standard, sa sortie d'erreur et son code.

#include <map>
#include <string>
#include <vector>

namespace emporteur::test {

struct ResultatProcessus {
    int code = -1;
    std::string sortie;
    std::string erreurs;
};

// Exécute `programme` avec `arguments` ; `entree` est donnée sur l'entrée standard.
// Les variables de `environnement` s'ajoutent à celles du processus de test.
ResultatProcessus Executer(const std::string& programme, const std::vector<std::string>& arguments,
                           const std::map<std::string, std::string>& environnement = {},
                           const std::string& entree = {});

// emporteur-cli avec ces arguments.
ResultatProcessus ExecuterCli(const std::vector<std::string>& arguments,
                              const std::map<std::string, std::string>& environnement = {});

} // namespace emporteur::test
