#pragma once
// L'action « Suivant » de la page d'accueil, sans fenêtre : récupère le catalogue,
// décide s'il y a du nouveau et, dans les modes automatiques, conduit l'avis.
// La page Qt n'a qu'à l'appeler et suivre l'action rendue.

#include "commun/ContexteTelechargement.h"
#include "commun/ModeExecution.h"
#include "autocheck/AvisMaj.h"
#include "autocheck/DernierAvis.h"

#include <functional>

namespace emporteur {

enum class ActionBienvenue {
    Rester,        // la page reste affichée
    Suivante,      // page suivante (liste des versions)
    ListeVersions, // saut direct à la liste des versions (après « Mise à jour » de l'avis)
    Quitter,       // fin du programme demandée
};

class LogiqueBienvenue {
  public:
    // `modeListe` : le mode de la page de liste, que l'accueil peut ramener à Ordinaire.
    LogiqueBienvenue(ContexteTelechargement& ctx, ModeExecution mode, ModeExecution& modeListe,
                     DernierAvis& avis, DialogueAvis& dialogue, std::function<bool()> connexion);

    ActionBienvenue Suivant(bool miseANiveauChoisie);
    bool CatalogueCharge() const { return catalogueCharge_; }

  private:
    ActionBienvenue SuivantMiseAJour();
    ActionBienvenue ConduireAvis(bool miseAJour, bool miseANiveau);

    ContexteTelechargement& ctx_;
    ModeExecution mode_;
    ModeExecution& modeListe_;
    DernierAvis& avis_;
    DialogueAvis& dialogue_;
    std::function<bool()> connexion_;
    bool catalogueCharge_ = false;
};

} // namespace emporteur
