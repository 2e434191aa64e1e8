#pragma once
// La liste des versions offertes, cases à cocher groupées sous des titres.

#include "commun/ContexteTelechargement.h"
#include "fenetres/PageLivret.h"

namespace emporteur::fenetres {

class PageListeVersion : public PageLivret {
    Q_OBJECT
  public:
    PageListeVersion(Livret& livret, ContexteTelechargement& ctx, ModeExecution mode);

    // Le mode de la page, que l'accueil peut ramener à Ordinaire.
    ModeExecution& Mode() { return mode_; }

  private:
    ContexteTelechargement& ctx_;
    ModeExecution mode_;
};

} // namespace emporteur::fenetres
