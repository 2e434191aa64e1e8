// emporteur-cli version : les versions et deux valeurs de la ressource de version d'un fichier.
#include "cli/Commandes.h"
#include "foundation/InfoVersion.h"
#include "foundation/LectureVersion.h"

#include <cstdio>
#include <iostream>

namespace emporteur::cli {

namespace {
// Tampon des valeurs textuelles, celui que prend la détection de la version installée.
constexpr std::size_t kTailleValeur = 1024;

std::string Valeur(const std::string& chemin, const char* nom) {
    std::string valeur;
    LireValeurVersion(&chemin, nom, valeur, kTailleValeur);
    return valeur;
}
} // namespace

int CommandeVersion(const Arguments& args) {
    if (args.size() != 1) {
        return ErreurUsage("version");
    }
    const std::string& chemin = args.front();
    DonneesVersion donnees;
    const LectureVersion lecture = LireDonneesVersion(chemin, donnees);
    if (lecture == LectureVersion::Illisible) {
        std::fprintf(stderr, "Impossible de lire le fichier « %s ».\n", chemin.c_str());
        return 2;
    }
    const InfoVersion info(chemin);
    std::cout << info.VersionFichier << '\n'
              << info.VersionProduit << '\n'
              << info.MajeurProduit << '\n'
              << info.MineurProduit << '\n'
              << Valeur(chemin, "ProductVersion") << '\n'
              << Valeur(chemin, "ProductName") << '\n';
    if (lecture == LectureVersion::Absente) {
        std::fprintf(stderr, "Aucune information de version dans « %s ».\n", chemin.c_str());
        return 1;
    }
    return 0;
}

} // namespace emporteur::cli
