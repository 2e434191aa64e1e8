// emporteur-cli catalogue : interprète trois textes locaux et imprime le résultat en JSON.
#include "catalogue/InterpreterCatalogue.h"
#include "catalogue/SyntaxeCatalogue.h"
#include "cli/Commandes.h"
#include "cli/InterfaceConsole.h"
#include "cli/Outils.h"
#include "commun/ContexteTelechargement.h"

#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>

namespace emporteur::cli {

namespace {
nlohmann::json JsonIngredient(const Ingredient& f) {
    return {
        {"site", f.Site},         {"repertoire", f.Repertoire}, {"nomDistant", f.NomDistant},
        {"nomLocal", f.NomLocal}, {"taille", f.Taille},         {"tailleSegment", f.TailleSegment},
        {"crcs", f.Crcs},         {"aLancer", f.ALancer}};
}

nlohmann::json JsonRecette(const Recette& r) {
    nlohmann::json fichiers = nlohmann::json::array();
    for (const auto& f : r.Fichiers)
        fichiers.push_back(JsonIngredient(*f));
    return {{"version", r.Version}, {"produit", r.Produit},         {"versionMaj", r.VersionMaj},
            {"titre", r.Titre},     {"description", r.Description}, {"dossier", r.Dossier},
            {"fichiers", fichiers}};
}
} // namespace

int CommandeCatalogue(const Arguments& args) {
    Options options;
    if (!LireOptions(args, {"--version-installee"}, {}, options) || options.positions.size() < 2 ||
        options.positions.size() > 3) {
        return ErreurUsage("catalogue");
    }
    std::string textes[3];
    for (std::size_t i = 0; i < options.positions.size(); ++i) {
        if (!LireTexteServeur(options.positions[i], textes[i])) return 2;
    }
    InterfaceConsole console;
    console.ImposerReponse(Reponse::Non);
    ContexteTelechargement ctx(ModeExecution::Ordinaire, console);
    const bool resultat = InterpreterCatalogue(ctx, textes[0], textes[1], textes[2]);
    if (ctx.TropAncien) ImprimerVerdict(ctx, {IssueCatalogue::TropAncien, {}});

    nlohmann::json sortie = {{"resultat", resultat},
                             {"tropAncien", ctx.TropAncien},
                             {"majeurBoutique", ctx.MajeurBoutique},
                             {"produitBoutique", ctx.ProduitBoutique},
                             {"miseANiveauOfferte", nullptr},
                             {"recettes", nlohmann::json::array()}};
    if (const auto v = options.valeurs.find("--version-installee"); v != options.valeurs.end()) {
        ctx.VersionInstallee = v->second;
        sortie["miseANiveauOfferte"] = MiseANiveauOfferte(ctx);
    }
    for (const auto& r : ctx.Recettes)
        sortie["recettes"].push_back(JsonRecette(*r));
    std::cout << sortie.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    return resultat ? 0 : 1;
}

} // namespace emporteur::cli
