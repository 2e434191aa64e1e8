#include "catalogue/RecuperationCatalogue.h"

#include "catalogue/AuthentificationCatalogue.h"
#include "catalogue/InterpreterCatalogue.h"
#include "catalogue/SyntaxeCatalogue.h"
#include "commun/Hotes.h"
#include "foundation/Texte.h"
#include "http/ChargerTexte.h"
#include "http/TransfertHttp.h"

#include <utility>

#include <vector>

namespace emporteur {

namespace {
const char* const kTitreMiseANiveauParDefaut = "Mise à niveau vers d'Orthalis";
bool Charger(ContexteTelechargement& ctx, const char* objet, std::string& texte) {
    std::string recu;
    bool ok = ChargerTexte(AccesDuContexte(ctx), ServeurDuContexte(ctx), kDossierCatalogue, objet,
                           recu, kCapaciteCatalogue);
    // La signature porte sur les octets tels que le serveur les a servis.
    std::string refus;
    if (ok && !AuthentifierTexte(ctx, kDossierCatalogue, objet, recu, refus)) {
        ok = false;
        recu = std::move(refus);
    }
    texte = ok ? NormaliserTexteServeur(std::move(recu)) : std::move(recu);
    return ok;
}

// La liste de mise à niveau : Ouvrir puis LirePlage, une reprise sur Reprendre.
IssueCatalogue ChargerListeMiseANiveau(ContexteTelechargement& ctx, std::string& texte) {
    TransfertHttp transfert(&ctx.Interface);
    std::string message;
    if (!transfert.Ouvrir(ServeurDuContexte(ctx), "", "ingredients.php?", ctx.Connexion, message,
                          1023))
        return IssueCatalogue::SiteInaccessible;
    std::vector<char> tampon(kCapaciteCatalogue);
    auto resultat = transfert.LirePlage(tampon.data(), kCapaciteCatalogue, 0, message, 1023);
    if (resultat.Code == CodeTransfert::Reprendre)
        resultat = transfert.LirePlage(tampon.data(), kCapaciteCatalogue, 0, message, 1023);
    if (resultat.Statut == 505) {
        ctx.TropAncien = true;
        return IssueCatalogue::NouvelEmporteur;
    }
    // Une liste qui remplit tout le tampon serait tronquée : refusée comme un échec.
    if (resultat.Code != CodeTransfert::Reussi || resultat.Octets >= kCapaciteCatalogue)
        return IssueCatalogue::SiteInaccessible;
    texte.assign(tampon.data(), resultat.Octets);
    std::string refus;
    if (!AuthentifierTexte(ctx, "", "ingredients.php?", texte, refus)) {
        texte = std::move(refus); // l'explication, pour le verdict
        return IssueCatalogue::Illisible;
    }
    texte = NormaliserTexteServeur(std::move(texte));
    return IssueCatalogue::Lu;
}

std::string LigneRecette(const std::string& description, const std::string& titre,
                         const std::string& cles) {
    return " ver=\"0.0.0.0\" des=\"" + description + "\" titre=\"" + titre + "\" cles=\"" + cles +
           "\"\n";
}
} // namespace

AccesServeur AccesDuContexte(const ContexteTelechargement& ctx) {
    return {ctx.Interface, ctx.ModeDiscret, ctx.Connexion};
}

std::string ServeurDuContexte(const ContexteTelechargement& ctx) {
    return ctx.Serveur.empty() ? HoteServeur() : ctx.Serveur;
}

bool TelechargerConfiguration(ContexteTelechargement& ctx, std::string& recettes,
                              std::string& ingredients, std::string& boutique,
                              std::string* erreur) {
    const std::pair<const char*, std::string*> textes[] = {{"RecettesOrthalis", &recettes},
                                                           {"IngredientsOrthalis", &ingredients},
                                                           {"IngredientsBoutique", &boutique}};
    for (const auto& [objet, texte] : textes) {
        if (Charger(ctx, objet, *texte)) continue;
        if (erreur) *erreur = *texte;
        return false;
    }
    return true;
}

VerdictCatalogue LireCatalogue(ContexteTelechargement& ctx) {
    std::string recettes, ingredients, boutique, erreur;
    if (!TelechargerConfiguration(ctx, recettes, ingredients, boutique, &erreur))
        return {IssueCatalogue::SiteInaccessible,
                "Erreur à la lecture du fichier de configuration :\n" + erreur};
    if (InterpreterCatalogue(ctx, recettes, ingredients, boutique)) return {};
    if (ctx.TropAncien) return {IssueCatalogue::TropAncien, {}};
    return {IssueCatalogue::Illisible, kMessageInterpretation};
}

bool LireBoutiqueSeule(ContexteTelechargement& ctx, std::string& boutique) {
    std::string texte;
    if (!Charger(ctx, "IngredientsBoutique", texte)) return false;
    boutique = std::move(texte);
    return true;
}

std::string RecettesMiseANiveau(const std::string& ingredients, const std::string& titre) {
    std::string recettes = std::string(kFormatCatalogue) + "\n";
    bool premiere = true;
    PourChaqueLigne(ingredients, [&](std::string_view ligne) {
        if (!premiere)
            recettes +=
                LigneRecette(ExtraireValeur(ligne, "des="), titre, ExtraireValeur(ligne, "cle="));
        premiere = false;
        return true;
    });
    return recettes + LigneRecette("Ensemble des fichiers choisis", titre, "");
}

VerdictCatalogue LireCatalogueMiseANiveau(ContexteTelechargement& ctx) {
    std::string boutique, titre;
    if (!LireBoutiqueSeule(ctx, boutique)) boutique.clear();
    if (!TitreMiseANiveau(boutique, titre)) titre = kTitreMiseANiveauParDefaut;
    std::string ingredients;
    switch (ChargerListeMiseANiveau(ctx, ingredients)) {
    case IssueCatalogue::Lu:
        break;
    case IssueCatalogue::NouvelEmporteur:
        return {IssueCatalogue::NouvelEmporteur, {}};
    case IssueCatalogue::Illisible: // arrivée, mais pas authentique
        return {IssueCatalogue::SiteInaccessible,
                "Erreur à la lecture du fichier de configuration :\n" + ingredients};
    default:
        return {IssueCatalogue::SiteInaccessible, kMessageSiteInaccessible};
    }
    std::string recettes = RecettesMiseANiveau(ingredients, titre);
    if (InterpreterCatalogue(ctx, recettes, ingredients, "")) return {};
    return {ctx.TropAncien ? IssueCatalogue::TropAncien : IssueCatalogue::Illisible,
            kMessageInterpretation};
}

bool TrouverRecetteAppropriee(ContexteTelechargement& ctx) {
    ctx.IndiceChoisi = -1;
    if (ctx.VersionInstallee.empty()) return false;
    for (std::size_t i = 0; i < ctx.Recettes.size(); ++i) {
        if (ctx.Recettes[i]->Version == ctx.VersionInstallee) {
            ctx.IndiceChoisi = static_cast<std::int32_t>(i);
            return true;
        }
    }
    return false;
}

bool EstRecetteAppropriee(const ContexteTelechargement& ctx, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= ctx.Recettes.size()) return false;
    return ctx.Recettes[static_cast<std::size_t>(index)]->Version == ctx.VersionInstallee;
}

} // namespace emporteur
