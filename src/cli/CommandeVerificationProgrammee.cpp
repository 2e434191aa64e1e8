// emporteur-cli verification-programmee : ce que lance le minuteur de la session.
// La décision est celle du noyau ; ici, seulement le lancement du programme à fenêtres.
#include "assistant/VerificationNouveautes.h"
#include "autocheck/AffichageGraphique.h"
#include "autocheck/DernierAvis.h"
#include "autocheck/VerificationProgrammee.h"
#include "cli/Commandes.h"
#include "cli/InterfaceConsole.h"
#include "cli/LancementVoisin.h"
#include "cli/Outils.h"
#include "commun/ContexteTelechargement.h"

#include <cstdio>
#include <optional>
#include <string>

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
    // Le programme à fenêtres est installé à côté de celui-ci (même dossier bin) ; le
    // serveur donné en option le suit dans son environnement, sa seule porte d'entrée.
    const auto serveur = options.valeurs.find("--serveur");
    return LancerEmporteurVoisin("MajDiscrete", serveur != options.valeurs.end()
                                                    ? std::optional<std::string>(serveur->second)
                                                    : std::nullopt);
}

} // namespace emporteur::cli
