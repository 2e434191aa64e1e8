#include "assistant/VerificationNouveautes.h"

#include "assistant/RecuperationAssistee.h"
#include "catalogue/InterpreterCatalogue.h"
#include "catalogue/VersionInstallee.h"

namespace emporteur {

Nouveautes VerifierNouveautes(ContexteTelechargement& ctx, const EtapesVerification& etapes) {
    Nouveautes n;
    DetecterVersionInstallee(ctx);
    if (etapes.Connexion && !etapes.Connexion()) {
        n.Connexion = false;
        return n;
    }
    if (!etapes.CatalogueCharge) {
        n.Catalogue = RecupererCatalogue(ctx);
        if (!n.Catalogue.EstLu()) return n;
    }
    n.MiseANiveau = MiseANiveauOfferte(ctx);
    if (etapes.ChercherMiseAJour) n.MiseAJour = TrouverRecetteAppropriee(ctx);
    return n;
}

} // namespace emporteur
