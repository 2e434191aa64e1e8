#include "assistant/LogiqueBienvenue.h"

#include "assistant/RecuperationAssistee.h"
#include "assistant/VerificationNouveautes.h"

namespace emporteur {

LogiqueBienvenue::LogiqueBienvenue(ContexteTelechargement& ctx, ModeExecution mode,
                                   ModeExecution& modeListe, DernierAvis& avis,
                                   DialogueAvis& dialogue, std::function<bool()> connexion)
    : ctx_(ctx), mode_(mode), modeListe_(modeListe), avis_(avis), dialogue_(dialogue),
      connexion_(std::move(connexion)) {}

ActionBienvenue LogiqueBienvenue::Suivant(bool miseANiveauChoisie) {
    if (!catalogueCharge_) ctx_.Recettes.clear();
    ctx_.ModeMiseANiveau = miseANiveauChoisie;
    if (!miseANiveauChoisie) return SuivantMiseAJour();
    // La mise à niveau remplace la liste : le catalogue ordinaire sera relu au besoin,
    // sinon un retour à la mise à jour offrirait les éléments de la mise à niveau.
    catalogueCharge_ = false;
    if (!RepondreCatalogueMiseANiveau(ctx_, RecupererCatalogueMiseANiveau(ctx_)))
        return ActionBienvenue::Rester;
    ctx_.IndiceChoisi = 0;
    return ActionBienvenue::Suivante;
}

ActionBienvenue LogiqueBienvenue::SuivantMiseAJour() {
    EtapesVerification etapes;
    if (mode_ == ModeExecution::MajDiscrete) etapes.Connexion = connexion_;
    etapes.CatalogueCharge = catalogueCharge_;
    etapes.ChercherMiseAJour = mode_ != ModeExecution::Ordinaire;
    const Nouveautes n = VerifierNouveautes(ctx_, etapes);
    if (!n.Connexion) return ActionBienvenue::Quitter;
    // Le repli sur le navigateur finit le processus ; s'il revient, on quitte aussi.
    if (!RepondreCatalogue(ctx_, n.Catalogue)) return ActionBienvenue::Quitter;
    catalogueCharge_ = true;
    if (mode_ == ModeExecution::Ordinaire) return ActionBienvenue::Suivante;
    if (n.QuelqueChose()) return ConduireAvis(n.MiseAJour, n.MiseANiveau);
    if (mode_ == ModeExecution::MajDiscrete || !ExecuterQuandMeme(ctx_))
        return ActionBienvenue::Quitter;
    ctx_.IndiceChoisi = 0;
    modeListe_ = ModeExecution::Ordinaire;
    return ActionBienvenue::Suivante;
}

ActionBienvenue LogiqueBienvenue::ConduireAvis(bool miseAJour, bool miseANiveau) {
    switch (dialogue_.Afficher(ctx_, miseAJour, miseANiveau, mode_)) {
    case FinAvis::PlusTard:
        if (ctx_.NePlusAviser) NoterAvis(ctx_, avis_);
        return ActionBienvenue::Quitter;
    case FinAvis::Ok:
        NoterAvis(ctx_, avis_);
        return ActionBienvenue::Quitter;
    case FinAvis::MiseAJour:
        return ActionBienvenue::ListeVersions;
    case FinAvis::MiseANiveau:
        OuvrirBoutique(ctx_);
        return ActionBienvenue::Quitter;
    default:
        return ActionBienvenue::Suivante;
    }
}

} // namespace emporteur
