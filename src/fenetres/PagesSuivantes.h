#pragma once
// Les pages du téléchargement (106) et de la fin (131), encore provisoires : elles
// tiennent leur place dans le livret et règlent leurs boutons.

#include "fenetres/PageLivret.h"

namespace emporteur::fenetres {

class PageTelechargement : public PageLivret {
    Q_OBJECT
  public:
    explicit PageTelechargement(Livret& livret);
    bool Activer() override;
};

class PageTerminay : public PageLivret {
    Q_OBJECT
  public:
    explicit PageTerminay(Livret& livret);
    bool Activer() override;
};

} // namespace emporteur::fenetres
