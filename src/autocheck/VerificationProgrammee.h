#pragma once
// La vérification programmée (minuteur de la session) : faut-il lancer la
// vérification discrète ? Décidé ici, sans processus ni fenêtre.

#include "autocheck/DernierAvis.h"
#include "commun/ContexteTelechargement.h"

namespace emporteur {

enum class DecisionProgrammee {
    Lancer,      // une nouveauté que l'utilisateur n'a pas écartée
    DejaEcartee, // « Ne plus aviser » a noté exactement cette offre
    RienDeNeuf,  // ni mise à jour ni mise à niveau : la vérification se tairait
};

// `miseAJour` et `miseANiveau` : ce qu'ont rendu TrouverRecetteAppropriee et
// MiseANiveauOfferte sur `ctx`. Une offre est écartée quand MAJ et MAN notés sont
// ceux que NoterAvis écrirait pour elle ; une valeur plus récente, d'un côté ou de
// l'autre, relance l'avis.
DecisionProgrammee DeciderVerification(const ContexteTelechargement& ctx, bool miseAJour,
                                       bool miseANiveau, const DernierAvis& avis);

} // namespace emporteur
