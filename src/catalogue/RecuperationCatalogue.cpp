#include "catalogue/RecuperationCatalogue.h"

#include "catalogue/AuthentificationCatalogue.h"
#include "catalogue/InterpreterCatalogue.h"
#include "catalogue/Propositions.h"
#include "catalogue/SyntaxeCatalogue.h"
#include "catalogue/VersionInstallee.h"
#include "commun/Hotes.h"
#include "commun/ParametresProxy.h"
#include "foundation/Texte.h"
#include "http/ChargerTexte.h"
#include "http/TransfertHttp.h"

#include <utility>

#include <vector>

namespace emporteur {

namespace {
const char* const kTitreMiseANiveauParDefaut = "Mise à niveau vers d'Orthalis";
const char* const kMessageSiteInaccessible =
    "Un problème empêche d’accéder au site de Mervane.\n\nVeuillez réessayer plus tard ou nous "
    "contacter.";
const char* const kMessageInterpretation = "Erreur à l’interprétation du fichier de configuration.";

void Boite(ContexteTelechargement& ctx, const std::string& texte) {
    ctx.Interface.BoiteMessage(texte, "Emporteur", style::MB_OK);
}

bool Charger(ContexteTelechargement& ctx, const char* objet, std::string& texte) {
    std::string recu;
    bool ok = ChargerTexte(AccesDuContexte(ctx), HoteServeur(), kDossierCatalogue, objet, recu,
                           kCapaciteCatalogue);
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
bool ChargerListeMiseANiveau(ContexteTelechargement& ctx, std::string& texte) {
    TransfertHttp transfert(&ctx.Interface);
    std::string message;
    if (!transfert.Ouvrir(HoteServeur(), "", "ingredients.php?", ctx.Connexion, message, 1023)) {
        Boite(ctx, kMessageSiteInaccessible);
        return false;
    }
    std::vector<char> tampon(kCapaciteCatalogue);
    auto resultat = transfert.LirePlage(tampon.data(), kCapaciteCatalogue, 0, message, 1023);
    if (resultat.Code == CodeTransfert::Reprendre)
        resultat = transfert.LirePlage(tampon.data(), kCapaciteCatalogue, 0, message, 1023);
    if (resultat.Statut == 505) {
        ProposerNouvelEmporteur(ctx);
        return false;
    }
    // Une liste qui remplit tout le tampon serait tronquée : refusée comme un échec.
    if (resultat.Code != CodeTransfert::Reussi || resultat.Octets >= kCapaciteCatalogue) {
        Boite(ctx, kMessageSiteInaccessible);
        return false;
    }
    texte.assign(tampon.data(), resultat.Octets);
    std::string refus;
    if (!AuthentifierTexte(ctx, "", "ingredients.php?", texte, refus)) {
        Boite(ctx, "Erreur à la lecture du fichier de configuration :\n" + refus);
        return false;
    }
    texte = NormaliserTexteServeur(std::move(texte));
    return true;
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

bool TelechargerConfiguration(ContexteTelechargement& ctx, std::string& recettes,
                              std::string& ingredients, std::string& boutique) {
    EnregistrerProxy(ctx.Connexion.Serveur, ctx.Connexion.Port);
    const std::pair<const char*, std::string*> textes[] = {{"RecettesOrthalis", &recettes},
                                                           {"IngredientsOrthalis", &ingredients},
                                                           {"IngredientsBoutique", &boutique}};
    for (const auto& [objet, texte] : textes) {
        if (Charger(ctx, objet, *texte)) continue;
        EnregistrerProxy("", 0);
        if (!ctx.ModeDiscret)
            ProposerFureteur(ctx, "Erreur à la lecture du fichier de configuration :\n" + *texte);
        return false;
    }
    return true;
}

bool LireCatalogue(ContexteTelechargement& ctx) {
    std::string recettes, ingredients, boutique;
    if (!TelechargerConfiguration(ctx, recettes, ingredients, boutique)) return false;
    if (InterpreterCatalogue(ctx, recettes, ingredients, boutique)) return true;
    if (!ctx.ModeDiscret && !ctx.TropAncien) ProposerFureteur(ctx, kMessageInterpretation);
    return false;
}

bool LireBoutiqueSeule(ContexteTelechargement& ctx, std::string& boutique) {
    EnregistrerProxy(ctx.Connexion.Serveur, ctx.Connexion.Port);
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

bool LireCatalogueMiseANiveau(ContexteTelechargement& ctx) {
    std::string boutique, titre;
    if (!LireBoutiqueSeule(ctx, boutique)) boutique.clear();
    if (!TitreMiseANiveau(boutique, titre)) titre = kTitreMiseANiveauParDefaut;
    std::string ingredients;
    if (!ChargerListeMiseANiveau(ctx, ingredients)) return false;
    std::string recettes = RecettesMiseANiveau(ingredients, titre);
    if (!InterpreterCatalogue(ctx, recettes, ingredients, "")) {
        Boite(ctx, kMessageInterpretation);
        return false;
    }
    return true;
}

void ProposerFureteur(ContexteTelechargement& ctx, const std::string& details) {
    std::string version, affichee;
    VersionsInstallees(ctx, version, affichee);
    const std::string texte =
        "Un problème empêche d’accéder au site de Mervane.\n\nDésirez-vous télécharger le fichier "
        "avec votre fureteur Web?\n\n" +
        affichee + " est installé sur votre disque dur\n\nDétails à propos de l’erreur :\n" +
        details;
    const Reponse r =
        ctx.Interface.BoiteMessage(texte, "Emporteur", style::MB_ICONHAND | style::MB_YESNO);
    if (r == Reponse::IDYES) ctx.Interface.Ouvrir(AdresseSite("maj_win_direct.php?v=" + version));
    ctx.Interface.TerminerProcessus(0);
}

void OuvrirBoutique(ContexteTelechargement& ctx) {
    ctx.Interface.Ouvrir(AdresseSite("boutique.php"));
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
