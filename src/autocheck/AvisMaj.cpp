#include "autocheck/AvisMaj.h"

#include "catalogue/VersionInstallee.h"
#include "foundation/Texte.h"
#include "messages/ServiceMessages.h"

namespace emporteur {

namespace {
std::string QuestionMiseAJour(const std::string& produit) {
    return "Souhaitez-vous télécharger la mise à jour à " + produit + " ?";
}

std::string QuestionMiseANiveau(const std::string& produit) {
    return "Souhaitez-vous acheter la mise à niveau à " + produit + " ?";
}
} // namespace

EtatAvis PreparerAvis(const ContexteTelechargement& ctx, bool miseAJour, bool miseANiveau,
                      ModeExecution mode) {
    EtatAvis etat;
    etat.caseVisible = mode != ModeExecution::MajPlusMan;
    etat.legende = "Emporteur";
    etat.libelleFermer = "Plus tard";
    std::string version, affichee;
    VersionsInstallees(ctx, version, affichee);
    etat.texteVersion = "Vous utilisez " + affichee + ".";
    const Recette* choisie = ctx.IndiceChoisi == -1 ? nullptr : ctx.RecetteChoisie();
    const std::string produit = choisie ? choisie->Produit : std::string();
    if (miseAJour && miseANiveau)
        etat.question =
            QuestionMiseAJour(produit) + "\n" + QuestionMiseANiveau(ctx.ProduitBoutique);
    else if (miseAJour && ctx.IndiceChoisi != -1)
        etat.question = QuestionMiseAJour(produit);
    else if (miseANiveau)
        etat.question = QuestionMiseANiveau(ctx.ProduitBoutique);
    else
        etat.question = "Information"; // le texte du modèle reste
    etat.miseANiveauActif = miseANiveau;
    etat.miseAJourActif = miseAJour;
    return etat;
}

void CocherNePlusAviser(ContexteTelechargement& ctx, EtatAvis& etat, bool coche) {
    etat.libelleFermer = coche ? "OK" : "Plus tard";
    ctx.NePlusAviser = coche;
}

FinAvis FinDeFermeture(FermetureAvis fermeture) {
    switch (fermeture) {
    case FermetureAvis::BoutonMiseANiveau:
        return FinAvis::MiseANiveau;
    case FermetureAvis::BoutonMiseAJour:
        return FinAvis::MiseAJour;
    case FermetureAvis::BoutonPlusTard:
    case FermetureAvis::Entree:
    case FermetureAvis::Echap:
    case FermetureAvis::GestionnaireFenetres:
        break;
    }
    return FinAvis::PlusTard;
}

bool ExecuterQuandMeme(ContexteTelechargement& ctx) {
    if (!ctx.DemanderUneFois) return true;
    // La phrase formatée tient en 255 octets, coupée sans briser un caractère.
    const std::string phrase = CouperUtf8(
        "Votre version d'Orthalis, " + ctx.VersionAffichee + ", est la plus récente.", 255);
    const CodeReponse r = AfficherMessage(
        ctx.Interface, 3, Texte(phrase), Texte("Désirez-vous quand même exécuter l’Emporteur?"), 4);
    ctx.DemanderUneFois = false;
    return r == CodeReponse::Oui;
}

} // namespace emporteur
