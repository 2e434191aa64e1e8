#include "cli/Commandes.h"

#include <cstdio>

namespace emporteur::cli {

const char* Usage() {
    return "Usage :\n"
           "  emporteur-cli catalogue RECETTES INGREDIENTS [BOUTIQUE] [--version-installee V]\n"
           "  emporteur-cli crc FICHIER TAILLE_SEGMENT\n"
           "  emporteur-cli ingredient FICHIER TAILLE_SEGMENT --cle K --site S --rep R\n"
           "                [--distant D --local L]\n";
}

int Executer(const std::string& commande, const Arguments& args) {
    if (commande == "catalogue")
        return CommandeCatalogue(args);
    if (commande == "crc")
        return CommandeCrc(args);
    if (commande == "ingredient")
        return CommandeIngredient(args);
    std::fprintf(stderr, "Commande inconnue : %s\n%s", commande.c_str(), Usage());
    return 2;
}

} // namespace emporteur::cli
