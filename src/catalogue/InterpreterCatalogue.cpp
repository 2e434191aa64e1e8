#include "catalogue/InterpreterCatalogue.h"

#include "catalogue/IndexIngredients.h"
#include "catalogue/SyntaxeCatalogue.h"
#include "foundation/Chemins.h"
#include "foundation/DossiersUtilisateur.h"

#include <memory>

namespace emporteur {

namespace {
constexpr std::string_view kProduit = "Orthalis";

std::int32_t Signe(std::string_view texte) {
    return static_cast<std::int32_t>(LireNombre(texte));
}

// Le nombre avant le premier point, 0 sans point ou si le texte commence par un point.
std::int32_t Majeur(std::string_view version, std::size_t debutRecherche) {
    const auto point = version.find('.', debutRecherche);
    if (point == std::string_view::npos || point == 0) return 0;
    return Signe(version.substr(0, point));
}

Ingredient IngredientDeLigne(std::string_view ligne, std::string_view cleLigne) {
    Ingredient ing;
    if (ligne.find("fichierdistant=") != std::string_view::npos) {
        ing.NomDistant = ExtraireValeur(ligne, "fichierdistant=");
        // Sans "fichierlocal=", le fichier garde son nom distant plutôt qu'un nom vide.
        ing.NomLocal = ligne.find("fichierlocal=") != std::string_view::npos
                           ? ExtraireValeur(ligne, "fichierlocal=")
                           : ing.NomDistant;
    } else {
        ing.NomDistant = ing.NomLocal = std::string(cleLigne);
    }
    ing.Site = ExtraireValeur(ligne, "site=");
    ing.Repertoire = ExtraireValeur(ligne, "rep=");
    ing.Taille = Signe(ExtraireValeur(ligne, "taille="));
    ing.TailleSegment = Signe(ExtraireValeur(ligne, "tailleseg="));
    ing.Empreinte = ExtraireValeur(ligne, "sha256=");
    const std::string crcs = ExtraireValeur(ligne, "crc=");
    std::string_view reste = crcs;
    while (!reste.empty())
        ing.Crcs.push_back(LireNombre(ProchainElement(reste)));
    return ing;
}

// Construit la recette d'une ligne ; faux si une de ses clés échoue.
bool ConstruireRecette(std::string_view ligne, const IndexIngredients& ingredients,
                       Recette& recette) {
    recette.Version = ExtraireValeur(ligne, "ver=");
    recette.Produit = ExtraireValeur(ligne, "produit=");
    recette.VersionMaj = ExtraireValeur(ligne, "verMaj=");
    recette.Titre = ExtraireValeur(ligne, "titre=");
    recette.Description = ExtraireValeur(ligne, "des=");
    const std::string cles = ExtraireValeur(ligne, "cles=");
    std::string_view reste = cles;
    while (!reste.empty()) {
        const std::string_view cle = ProchainElement(reste);
        if (cle.empty() || !AjouterIngredient(ingredients, cle, recette)) return false;
    }
    return true;
}
} // namespace

std::string DossierParDefaut() {
    std::string dossier = DossierBureau();
    AjouterBarre(dossier);
    return dossier + "Mervane_Téléchargement";
}

bool InterpreterCatalogue(ContexteTelechargement& ctx, std::string& recettes,
                          std::string& ingredients, const std::string& boutique) {
    ctx.Recettes.clear();
    const std::string formatRecettes = SeparerPremiereLigne(recettes);
    const std::string formatIngredients = SeparerPremiereLigne(ingredients);
    LireBoutique(ctx, boutique);
    if (formatRecettes.find(kFormatCatalogue) == std::string::npos ||
        formatIngredients.find(kFormatCatalogue) == std::string::npos) {
        ctx.TropAncien = true; // l'offre d'un Emporteur plus récent revient aux frontaux
        return false;
    }
    const std::string dossier = DossierParDefaut();
    const IndexIngredients index(ingredients);
    bool reussi = true;
    PourChaqueLigne(recettes, [&](std::string_view ligne) {
        auto recette = std::make_unique<Recette>();
        recette->Dossier = dossier;
        recette->Connexion = ctx.Connexion;
        reussi = ConstruireRecette(ligne, index, *recette);
        if (reussi) ctx.Recettes.push_back(std::move(recette));
        return reussi;
    });
    return reussi;
}

bool AjouterIngredient(std::string_view ingredients, std::string_view cle, Recette& recette) {
    return AjouterIngredient(IndexIngredients(ingredients), cle, recette);
}

bool AjouterIngredient(const IndexIngredients& ingredients, std::string_view cle,
                       Recette& recette) {
    bool aLancer = false;
    if (!cle.empty() && cle.back() == '*') {
        cle.remove_suffix(1);
        aLancer = true;
    }
    if (cle.empty()) return false;
    const auto trouvee = ingredients.Chercher(cle);
    if (!trouvee) return false;
    auto ing = std::make_unique<Ingredient>(IngredientDeLigne(trouvee->Ligne, trouvee->Cle));
    ing->ALancer = aLancer;
    recette.Fichiers.push_back(std::move(ing));
    return true;
}

bool LireBoutique(ContexteTelechargement& ctx, std::string_view boutique) {
    ctx.MajeurBoutique = 0;
    std::string texte(boutique);
    SeparerPremiereLigne(texte);
    bool trouve = false;
    PourChaqueLigne(texte, [&](std::string_view ligne) {
        if (ExtraireValeur(ligne, "cle=", true) != kProduit) return true;
        ctx.MajeurBoutique = Majeur(ExtraireValeur(ligne, "ver=", true), 0);
        ctx.ProduitBoutique = ExtraireValeur(ligne, "produit=", true);
        trouve = true;
        return false;
    });
    return trouve;
}

bool TitreMiseANiveau(std::string_view boutique, std::string& description) {
    std::string texte(boutique);
    SeparerPremiereLigne(texte);
    bool trouve = false;
    PourChaqueLigne(texte, [&](std::string_view ligne) {
        if (ExtraireValeur(ligne, "cle=", true) == kProduit) {
            description = ExtraireValeur(ligne, "des=", true);
            trouve = true;
        }
        return true;
    });
    return trouve;
}

bool MiseANiveauOfferte(const ContexteTelechargement& ctx) {
    // Un point en tête ne compte pas : on le cherche après le premier caractère.
    const std::int32_t installe = Majeur(ctx.VersionInstallee, 1);
    return ctx.MajeurBoutique > installe;
}

} // namespace emporteur
