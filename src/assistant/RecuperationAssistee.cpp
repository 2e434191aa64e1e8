#include "assistant/RecuperationAssistee.h"

#include "assistant/LogiqueProxy.h"
#include "catalogue/VersionInstallee.h"
#include "commun/Hotes.h"

namespace emporteur {

VerdictCatalogue RecupererCatalogue(ContexteTelechargement& ctx) {
    EnregistrerProxy(ctx.Connexion.Serveur, ctx.Connexion.Port);
    VerdictCatalogue verdict = LireCatalogue(ctx);
    // Un mandataire par lequel le catalogue n'est pas arrivé n'est pas retenu.
    if (verdict.Issue == IssueCatalogue::SiteInaccessible) EnregistrerProxy("", 0);
    return verdict;
}

VerdictCatalogue RecupererCatalogueMiseANiveau(ContexteTelechargement& ctx) {
    EnregistrerProxy(ctx.Connexion.Serveur, ctx.Connexion.Port);
    return LireCatalogueMiseANiveau(ctx);
}

bool RepondreCatalogue(ContexteTelechargement& ctx, const VerdictCatalogue& verdict) {
    switch (verdict.Issue) {
    case IssueCatalogue::Lu:
        return true;
    case IssueCatalogue::TropAncien:
    case IssueCatalogue::NouvelEmporteur:
        ProposerNouvelEmporteur(ctx);
        return false;
    case IssueCatalogue::SiteInaccessible:
    case IssueCatalogue::Illisible:
        if (!ctx.ModeDiscret) ProposerFureteur(ctx, verdict.Details);
        return false;
    }
    return false;
}

bool RepondreCatalogueMiseANiveau(ContexteTelechargement& ctx, const VerdictCatalogue& verdict) {
    if (verdict.EstLu()) return true;
    if (verdict.Issue == IssueCatalogue::TropAncien ||
        verdict.Issue == IssueCatalogue::NouvelEmporteur)
        ProposerNouvelEmporteur(ctx);
    if (!verdict.Details.empty()) ctx.Interface.BoiteMessage(verdict.Details, "Emporteur", MB_OK);
    return false;
}

std::string AdresseRepli(const ContexteTelechargement& ctx) {
    std::string version, affichee;
    VersionsInstallees(ctx, version, affichee);
    return AdresseSite("maj_win_direct.php?v=" + version);
}

std::string AdresseNouvelEmporteur() {
    return AdresseSite("telecharger/assistants/Emporteur.exe");
}

std::string AdresseBoutique() {
    return AdresseSite("boutique.php");
}

std::string TexteRepli(const ContexteTelechargement& ctx, const std::string& details) {
    std::string version, affichee;
    VersionsInstallees(ctx, version, affichee);
    return "Un problème empêche d’accéder au site de Mervane.\n\nDésirez-vous télécharger le "
           "fichier avec votre fureteur Web?\n\n" +
           affichee + " est installé sur votre disque dur\n\nDétails à propos de l’erreur :\n" +
           details;
}

void ProposerFureteur(ContexteTelechargement& ctx, const std::string& details) {
    const Reponse r =
        ctx.Interface.BoiteMessage(TexteRepli(ctx, details), "Emporteur", MB_ICONHAND | MB_YESNO);
    if (r == Reponse::Oui) ctx.Interface.Ouvrir(AdresseRepli(ctx));
    ctx.Interface.TerminerProcessus(0);
}

void ProposerNouvelEmporteur(ContexteTelechargement& ctx) {
    ctx.TropAncien = true;
    const Reponse r =
        ctx.Interface.BoiteMessage(kQuestionNouvelEmporteur, "Emporteur", MB_ICONHAND | MB_YESNO);
    if (r == Reponse::Oui) ctx.Interface.Ouvrir(AdresseNouvelEmporteur());
}

void OuvrirBoutique(ContexteTelechargement& ctx) {
    ctx.Interface.Ouvrir(AdresseBoutique());
}

} // namespace emporteur
