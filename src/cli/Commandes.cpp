#include "cli/Commandes.h"

#include <cstdio>

namespace emporteur::cli {

const char* Usage() {
    return "Usage :\n"
           "  emporteur-cli catalogue RECETTES INGREDIENTS [BOUTIQUE] [--version-installee V]\n"
           "  emporteur-cli version FICHIER\n";
}

int Executer(const std::string& commande, const Arguments& args) {
    if (commande == "catalogue") return CommandeCatalogue(args);
    if (commande == "version") return CommandeVersion(args);
    std::fprintf(stderr, "Commande inconnue : %s\n%s", commande.c_str(), Usage());
    return 2;
}

} // namespace emporteur::cli
