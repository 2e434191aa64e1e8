// emporteur-cli registre : lire ou écrire une valeur texte du registre de
// l'utilisateur, pour l'administrateur et les scripts (l'équivalent de « reg »).
#include "cli/Commandes.h"
#include "foundation/CleRegistre.h"

#include <cstdio>

namespace emporteur::cli {

int CommandeRegistre(const Arguments& args) {
    const bool lire = args.size() == 3 && args[0] == "lire";
    const bool ecrire = args.size() == 4 && args[0] == "ecrire";
    if (!lire && !ecrire) {
        return ErreurUsage("registre");
    }
    if (lire) {
        CleRegistre cle;
        std::string valeur;
        CodeWin32 code = cle.OuvrirCle(HKEY_CURRENT_USER, args[1], KEY_READ);
        if (code == ERROR_SUCCESS) code = cle.LireTexte(args[2], valeur, 4096);
        if (code != ERROR_SUCCESS) {
            std::fprintf(stderr, "Valeur illisible : %s\\%s (erreur code %d).\n", args[1].c_str(),
                         args[2].c_str(), code);
            return 1;
        }
        std::printf("%s\n", valeur.c_str());
        return 0;
    }
    CleOuverte cle;
    CodeWin32 code = CreerCle(HKEY_CURRENT_USER, args[1], KEY_READ | KEY_WRITE, cle);
    if (code == ERROR_SUCCESS) code = cle.EcrireTexte(args[2], args[3]);
    if (code != ERROR_SUCCESS) {
        std::fprintf(stderr, "Écriture impossible : %s\\%s (erreur code %d).\n", args[1].c_str(),
                     args[2].c_str(), code);
        return 1;
    }
    return 0;
}

} // namespace emporteur::cli
