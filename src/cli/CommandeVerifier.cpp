// emporteur-cli verifier : la vérification automatique sans fenêtre, résultat en JSON.
#include "assistant/VerificationNouveautes.h"
#include "catalogue/AuthentificationCatalogue.h"
#include "cli/Commandes.h"
#include "cli/InterfaceConsole.h"
#include "cli/Outils.h"
#include "commun/ContexteTelechargement.h"

#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>

namespace emporteur::cli {

namespace {
// Arrivé ici, chaque texte a passé la vérification : sa série est celle retenue.
nlohmann::json EtatSignaturesCatalogue(const ContexteTelechargement& ctx) {
    if (ctx.ClesPubliques.empty()) return "non vérifiées";
    nlohmann::json series;
    for (const char* nom : {"RecettesOrthalis", "IngredientsOrthalis", "IngredientsBoutique"})
        series[nom] = AuthentificationCatalogue::SerieRetenue(nom);
    return {{"etat", "valides"}, {"series", series}};
}
} // namespace

int CommandeVerifier(const Arguments& args) {
    Options options;
    if (!LireOptions(args, {"--serveur"}, {}, options) || !options.positions.empty()) {
        return ErreurUsage("verifier");
    }
    InterfaceConsole console;
    ContexteTelechargement ctx(ModeExecution::MajPlusMan, console);
    AppliquerServeur(ctx, options);
    const Nouveautes n = VerifierNouveautes(ctx);
    if (!n.Verifie()) {
        ImprimerVerdict(ctx, n.Catalogue);
        return 2;
    }
    const bool miseANiveau = n.MiseANiveau;
    const bool miseAJour = n.MiseAJour;
    const Recette* choisie = ctx.RecetteChoisie();
    const nlohmann::json sortie = {{"versionInstallee", ctx.VersionInstallee},
                                   {"versionAffichee", ctx.VersionAffichee},
                                   {"miseAJour", miseAJour},
                                   {"recette", ctx.IndiceChoisi},
                                   {"produit", choisie ? choisie->Produit : std::string()},
                                   {"versionMaj", choisie ? choisie->VersionMaj : std::string()},
                                   {"miseANiveau", miseANiveau},
                                   {"majeurBoutique", ctx.MajeurBoutique},
                                   {"produitBoutique", ctx.ProduitBoutique},
                                   {"signatures", EtatSignaturesCatalogue(ctx)}};
    std::cout << sortie.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    return (miseAJour || miseANiveau) ? 0 : 1;
}

} // namespace emporteur::cli
