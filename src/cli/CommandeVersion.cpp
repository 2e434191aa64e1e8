// emporteur-cli version : les versions et deux valeurs de la ressource de version d'un fichier.
#include "cli/Commandes.h"
#include "foundation/CheminNatif.h"
#include "foundation/InfoVersion.h"
#include "foundation/LectureVersion.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
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

// Signatures « MZ » puis « PE\0\0 » à la position que donne l'en-tête DOS : sans
// elles, le fichier n'est pas un exécutable Windows.
bool EstImagePe(const std::string& chemin) {
    std::ifstream f(CheminNatif(chemin), std::ios::binary);
    unsigned char dos[64] = {};
    if (!f.read(reinterpret_cast<char*>(dos), sizeof dos) || dos[0] != 'M' || dos[1] != 'Z')
        return false;
    const std::uint32_t position =
        dos[60] | (dos[61] << 8) | (dos[62] << 16) | (static_cast<std::uint32_t>(dos[63]) << 24);
    char signature[4] = {};
    f.seekg(position);
    return f.read(signature, 4) && std::string(signature, 4) == std::string("PE\0\0", 4);
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
    if (lecture == LectureVersion::Absente && !EstImagePe(chemin)) {
        std::fprintf(stderr, "« %s » n'est pas un exécutable Windows : aucune version à lire.\n",
                     chemin.c_str());
        return 1;
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
