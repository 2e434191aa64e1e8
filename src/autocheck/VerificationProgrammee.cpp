#include "autocheck/VerificationProgrammee.h"

namespace emporteur {

DecisionProgrammee DeciderVerification(const ContexteTelechargement& ctx, bool miseAJour,
                                       bool miseANiveau, const DernierAvis& avis) {
    if (!miseAJour && !miseANiveau) return DecisionProgrammee::RienDeNeuf;
    // Même calcul que NoterAvis, coupure à 19 octets comprise : sans cela une
    // version longue ne serait jamais reconnue et l'avis reviendrait chaque jour.
    const OffreNotee offre = OffreANoter(ctx);
    if (offre.MAJ == avis.MAJ && offre.MAN == avis.MAN) return DecisionProgrammee::DejaEcartee;
    return DecisionProgrammee::Lancer;
}

} // namespace emporteur
