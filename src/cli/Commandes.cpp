#include "cli/Commandes.h"

#include <cstdio>
#include <map>

namespace emporteur::cli {

const char* Usage() {
    return "Usage :\n"
           "  emporteur-cli catalogue RECETTES INGREDIENTS [BOUTIQUE] [--version-installee V]\n"
           "  emporteur-cli crc FICHIER TAILLE_SEGMENT\n"
           "  emporteur-cli ingredient FICHIER TAILLE_SEGMENT --cle K --site S --rep R\n"
           "                [--distant D --local L]\n"
           "  emporteur-cli version FICHIER\n"
           "  emporteur-cli version-installee\n"
           "  emporteur-cli telecharger [--catalogue DOSSIER] [--recette N | --version V]\n"
           "                [--dossier D] [--mise-a-niveau] [--serveur HOTE[:PORT]]\n"
           "                [--proxy HOTE:PORT]\n"
           "  emporteur-cli verifier [--serveur HOTE[:PORT]]\n"
           "  emporteur-cli registre lire CLE VALEUR | registre ecrire CLE VALEUR TEXTE\n";
}

int Executer(const std::string& commande, const Arguments& args) {
    static const std::map<std::string, int (*)(const Arguments&)> commandes = {
        {"catalogue", CommandeCatalogue},
        {"crc", CommandeCrc},
        {"ingredient", CommandeIngredient},
        {"version", CommandeVersion},
        {"version-installee", CommandeVersionInstallee},
        {"telecharger", CommandeTelecharger},
        {"verifier", CommandeVerifier},
        {"registre", CommandeRegistre},
    };
    const auto c = commandes.find(commande);
    if (c != commandes.end()) return c->second(args);
    std::fprintf(stderr, "Commande inconnue : %s\n%s", commande.c_str(), Usage());
    return 2;
}

} // namespace emporteur::cli
