// emporteur-cli verification-programmee : ce que lance le minuteur de la session.
// La décision est celle du noyau ; ici, seulement le lancement du programme à fenêtres.
#include "assistant/VerificationNouveautes.h"
#include "autocheck/AffichageGraphique.h"
#include "autocheck/DernierAvis.h"
#include "autocheck/VerificationProgrammee.h"
#include "cli/Commandes.h"
#include "cli/InterfaceConsole.h"
#include "cli/Outils.h"
#include "commun/ContexteTelechargement.h"
#include "foundation/DossiersUtilisateur.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace emporteur::cli {

namespace {
DecisionProgrammee Decider(const Options& options, bool& catalogueLu) {
    const DernierAvis avis;
    InterfaceConsole console;
    console.ImposerReponse(Reponse::Non); // personne devant la console
    ContexteTelechargement ctx(ModeExecution::MajDiscrete, console);
    AppliquerServeur(ctx, options);
    const Nouveautes n = VerifierNouveautes(ctx);
    catalogueLu = n.Verifie();
    if (!catalogueLu) return DecisionProgrammee::RienDeNeuf;
    return DeciderVerification(ctx, n.MiseAJour, n.MiseANiveau, avis);
}
// Le serveur donné en option suit dans l'environnement du programme lancé, qui n'a
// pas d'autre porte pour le recevoir ; le nôtre n'est pas modifié.
struct Environnement {
    std::vector<std::string> textes;
    std::vector<const char*> pointeurs;
    const char* const* data() const { return pointeurs.data(); }
};

Environnement EnvironnementLance(const Options& options) {
    Environnement env;
    const auto serveur = options.valeurs.find("--serveur");
    for (char** v = environ; *v; ++v)
        if (serveur == options.valeurs.end() ||
            std::string_view(*v).rfind("EMPORTEUR_SERVEUR=", 0) != 0)
            env.textes.emplace_back(*v);
    if (serveur != options.valeurs.end())
        env.textes.push_back("EMPORTEUR_SERVEUR=" + serveur->second);
    for (const auto& t : env.textes)
        env.pointeurs.push_back(t.c_str());
    env.pointeurs.push_back(nullptr);
    return env;
}
} // namespace

int CommandeVerificationProgrammee(const Arguments& args) {
    Options options;
    if (!LireOptions(args, {"--serveur"}, {}, options) || !options.positions.empty())
        return ErreurUsage("verification-programmee");
    bool catalogueLu = false;
    switch (Decider(options, catalogueLu)) {
    case DecisionProgrammee::RienDeNeuf:
        std::puts(catalogueLu ? "Rien de neuf : aucune vérification lancée."
                              : "Catalogue inaccessible : aucune vérification lancée.");
        return 0;
    case DecisionProgrammee::DejaEcartee:
        std::puts("Offre déjà écartée par « Ne plus aviser » : aucune vérification lancée.");
        return 0;
    case DecisionProgrammee::Lancer:
        break;
    }
    // Le programme à fenêtres avorterait sans affichage : rien n'est passé, et le
    // journal du service le dit.
    if (!AffichageDisponible()) {
        std::puts("Aucun affichage graphique joignable : la vérification n'est pas lancée.");
        return 0;
    }
    // Le programme à fenêtres est installé à côté de celui-ci (même dossier bin).
    const std::string programme =
        (std::filesystem::path(CheminProgramme()).parent_path() / "emporteur").string();
    std::fflush(stdout);
    char* const argv[] = {const_cast<char*>("emporteur"), const_cast<char*>("MajDiscrete"),
                          nullptr};
    const auto environnement = EnvironnementLance(options);
    ::execve(programme.c_str(), argv, const_cast<char* const*>(environnement.data()));
    std::fprintf(stderr, "Impossible de lancer %s : %s\n", programme.c_str(), std::strerror(errno));
    return 127;
}

} // namespace emporteur::cli
