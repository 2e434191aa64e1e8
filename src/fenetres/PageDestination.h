#pragma once
// Le dossier de destination des fichiers et de leurs segments.

#include "commun/ContexteTelechargement.h"
#include "fenetres/PageLivret.h"

namespace emporteur::fenetres {

class PageDestination : public PageLivret {
    Q_OBJECT
  public:
    PageDestination(Livret& livret, ContexteTelechargement& ctx);

  private:
    ContexteTelechargement& ctx_;
};

} // namespace emporteur::fenetres
