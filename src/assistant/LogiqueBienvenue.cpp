#include "assistant/LogiqueBienvenue.h"

#include "catalogue/InterpreterCatalogue.h"
#include "catalogue/RecuperationCatalogue.h"
#include "catalogue/VersionInstallee.h"

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
    if (!LireCatalogueMiseANiveau(ctx_)) return ActionBienvenue::Rester;
    ctx_.IndiceChoisi = 0;
    return ActionBienvenue::Suivante;
}

ActionBienvenue LogiqueBienvenue::SuivantMiseAJour() {
    DetecterVersionInstallee(ctx_);
    if (mode_ == ModeExecution::MajDiscrete && !connexion_()) return ActionBienvenue::Quitter;
    if (!catalogueCharge_) {
        if (!LireCatalogue(ctx_)) return ActionBienvenue::Quitter;
        catalogueCharge_ = true;
    }
    const bool miseANiveau = MiseANiveauOfferte(ctx_);
    if (mode_ == ModeExecution::Ordinaire) return ActionBienvenue::Suivante;
    const bool miseAJour = TrouverRecetteAppropriee(ctx_);
    if (miseAJour || miseANiveau) return ConduireAvis(miseAJour, miseANiveau);
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
