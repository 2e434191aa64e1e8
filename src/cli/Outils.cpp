#include "cli/Outils.h"

#include "catalogue/SyntaxeCatalogue.h"
#include "foundation/Texte.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace emporteur::cli {

bool LireOptions(const std::vector<std::string>& args, const std::set<std::string>& avecValeur,
                 const std::set<std::string>& sansValeur, Options& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) != 0 || a.size() == 2) {
            options.positions.push_back(a);
        } else if (avecValeur.count(a)) {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "Valeur manquante après %s\n", a.c_str());
                return false;
            }
            options.valeurs[a] = args[++i];
        } else if (sansValeur.count(a)) {
            options.drapeaux.insert(a);
        } else {
            std::fprintf(stderr, "Option inconnue : %s\n", a.c_str());
            return false;
        }
    }
    return true;
}

bool LireFichier(const std::string& chemin, std::string& contenu) {
    std::error_code erreur;
    std::ifstream entree(chemin, std::ios::binary);
    if (!entree || std::filesystem::is_directory(chemin, erreur)) {
        std::fprintf(stderr, "Impossible de lire le fichier : %s\n", chemin.c_str());
        return false;
    }
    std::ostringstream tampon;
    tampon << entree.rdbuf();
    if (entree.bad()) {
        std::fprintf(stderr, "Impossible de lire le fichier : %s\n", chemin.c_str());
        return false;
    }
    contenu = tampon.str();
    return true;
}

bool LireTexteServeur(const std::string& chemin, std::string& texte) {
    std::string brut;
    if (!LireFichier(chemin, brut)) return false;
    texte = NormaliserTexteServeur(std::move(brut));
    return true;
}

} // namespace emporteur::cli
