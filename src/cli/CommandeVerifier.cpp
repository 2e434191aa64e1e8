// emporteur-cli verifier : la vérification automatique sans fenêtre, résultat en JSON.
#include "catalogue/AuthentificationCatalogue.h"
#include "catalogue/InterpreterCatalogue.h"
#include "catalogue/RecuperationCatalogue.h"
#include "catalogue/VersionInstallee.h"
#include "cli/Commandes.h"
#include "cli/InterfaceConsole.h"
#include "cli/Outils.h"
#include "commun/ContexteTelechargement.h"

#include <cstdio>
#include <cstdlib>
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
    if (auto s = options.valeurs.find("--serveur"); s != options.valeurs.end())
        ::setenv("EMPORTEUR_SERVEUR", s->second.c_str(), 1);
    InterfaceConsole console;
    console.ImposerReponse(Reponse::IDNO); // ni navigateur ni nouvel Emporteur sans personne
    console.ImposerCodeDeFin(2);
    ContexteTelechargement ctx(ModeExecution::MajPlusMan, console);
    DetecterVersionInstallee(ctx);
    if (!LireCatalogue(ctx)) {
        if (ctx.TropAncien) std::fputs("Cet Emporteur est trop ancien.\n", stderr);
        return 2;
    }
    const bool miseANiveau = MiseANiveauOfferte(ctx);
    const bool miseAJour = TrouverRecetteAppropriee(ctx);
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
