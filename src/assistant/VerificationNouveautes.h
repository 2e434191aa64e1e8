#pragma once
// La seule séquence « y a-t-il du nouveau ? », commune à l'accueil de l'assistant, à
// `verifier` et à `verification-programmee` : version installée, connexion (au
// besoin), catalogue (s'il n'est pas déjà chargé), mise à niveau offerte, élément
// qui convient. Elle ne montre rien : chaque frontal répond au verdict à sa façon.

#include "catalogue/RecuperationCatalogue.h"
#include "commun/ContexteTelechargement.h"

#include <functional>

namespace emporteur {

struct EtapesVerification {
    // Test de connexion fait avant le catalogue ; vide : aucun test.
    std::function<bool()> Connexion;
    // Le catalogue est déjà là : ni vidé ni redemandé.
    bool CatalogueCharge = false;
    // Chercher l'élément qui convient (fixe IndiceChoisi) ; l'assistant ordinaire ne le fait pas.
    bool ChercherMiseAJour = true;
};

struct Nouveautes {
    bool Connexion = true;      // faux : aucune connexion, rien d'autre n'a été fait
    VerdictCatalogue Catalogue; // Lu aussi quand le catalogue était déjà chargé
    bool MiseAJour = false;
    bool MiseANiveau = false;
    bool Verifie() const { return Connexion && Catalogue.EstLu(); }
    bool QuelqueChose() const { return MiseAJour || MiseANiveau; }
};

Nouveautes VerifierNouveautes(ContexteTelechargement& ctx, const EtapesVerification& etapes = {});

} // namespace emporteur
