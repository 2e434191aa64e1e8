// emporteur-cli : le compagnon en ligne de commande du noyau.
#include "cli/Commandes.h"
#include "cli/Console.h"
#include "commun/ClesPubliques.h"

#include <cstdio>
#include <string>
#include <vector>

#ifndef EMPORTEUR_VERSION
#error "EMPORTEUR_VERSION doit venir de la construction"
#endif

int main(int argc, char** argv) {
    emporteur::cli::PreparerConsole();
    std::vector<std::string> args = emporteur::cli::ArgumentsProgramme(argc, argv);
    if (args.empty()) {
        std::fputs("emporteur-cli : commande manquante.\nEssayez « emporteur-cli --help ».\n",
                   stderr);
        return 2;
    }
    const std::string commande = args.front();
    if (commande == "--help" || commande == "-h") {
        std::fputs(emporteur::cli::AideGenerale().c_str(), stdout);
        return 0;
    }
    if (commande == "--version") {
        std::puts("emporteur-cli " EMPORTEUR_VERSION);
        std::puts(emporteur::EtatSignatures().c_str());
        return 0;
    }
    args.erase(args.begin());
    return emporteur::cli::Executer(commande, args);
}
