#include "outils/Processus.h"

#include "outils/DossierTemporaire.h"

#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

namespace emporteur::test {

namespace {
std::string Guillemets(const std::string& s) {
    std::string r = "'";
    for (char c : s)
        r += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return r + "'";
}
} // namespace

ResultatProcessus Executer(const std::string& programme, const std::vector<std::string>& arguments,
                           const std::map<std::string, std::string>& environnement,
                           const std::string& entree) {
    DossierTemporaire d;
    EcrireFichier(d / "entree", entree);
    std::string commande;
    for (const auto& [nom, valeur] : environnement)
        commande += nom + "=" + Guillemets(valeur) + " ";
    commande += Guillemets(programme);
    for (const auto& a : arguments)
        commande += " " + Guillemets(a);
    commande += " <" + Guillemets(d / "entree") + " >" + Guillemets(d / "sortie") + " 2>" +
                Guillemets(d / "erreurs");
    const int statut = std::system(commande.c_str());
    ResultatProcessus r;
    r.code = WIFEXITED(statut) ? WEXITSTATUS(statut) : -1;
    r.sortie = LireFichier(d / "sortie");
    r.erreurs = LireFichier(d / "erreurs");
    return r;
}

ResultatProcessus ExecuterCli(const std::vector<std::string>& arguments,
                              const std::map<std::string, std::string>& environnement) {
    return Executer(EMPORTEUR_CLI, arguments, environnement);
}

} // namespace emporteur::test
