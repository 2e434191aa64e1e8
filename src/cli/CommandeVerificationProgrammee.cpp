// emporteur-cli verification-programmee : ce que lance le minuteur de la session.
// La décision est celle du noyau ; ici, seulement le lancement du programme à fenêtres.
#include "autocheck/DernierAvis.h"
#include "autocheck/VerificationProgrammee.h"
#include "catalogue/InterpreterCatalogue.h"
#include "catalogue/RecuperationCatalogue.h"
#include "catalogue/VersionInstallee.h"
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
#include <unistd.h>

namespace emporteur::cli {

namespace {
DecisionProgrammee Decider(bool& catalogueLu) {
    const DernierAvis avis;
    InterfaceConsole console;
    console.ImposerReponse(Reponse::IDNO); // personne devant la console
    console.ImposerCodeDeFin(0);
    ContexteTelechargement ctx(ModeExecution::MajDiscrete, console);
    DetecterVersionInstallee(ctx);
    catalogueLu = LireCatalogue(ctx);
    if (!catalogueLu) return DecisionProgrammee::RienDeNeuf;
    const bool miseANiveau = MiseANiveauOfferte(ctx);
    const bool miseAJour = TrouverRecetteAppropriee(ctx);
    return DeciderVerification(ctx, miseAJour, miseANiveau, avis);
}
} // namespace

int CommandeVerificationProgrammee(const Arguments& args) {
    Options options;
    if (!LireOptions(args, {"--serveur"}, {}, options) || !options.positions.empty())
        return ErreurUsage("verification-programmee");
    if (auto s = options.valeurs.find("--serveur"); s != options.valeurs.end())
        ::setenv("EMPORTEUR_SERVEUR", s->second.c_str(), 1);
    bool catalogueLu = false;
    switch (Decider(catalogueLu)) {
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
    // Le programme à fenêtres est installé à côté de celui-ci (même dossier bin).
    const std::string programme =
        (std::filesystem::path(CheminProgramme()).parent_path() / "emporteur").string();
    std::fflush(stdout);
    char* const argv[] = {const_cast<char*>("emporteur"), const_cast<char*>("MajDiscrete"),
                          nullptr};
    ::execv(programme.c_str(), argv);
    std::fprintf(stderr, "Impossible de lancer %s : %s\n", programme.c_str(), std::strerror(errno));
    return 127;
}

} // namespace emporteur::cli
