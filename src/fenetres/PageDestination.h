#pragma once
// Le dossier de destination des fichiers et de leurs segments : la zone montre le
// dossier de l'élément choisi, « Parcourir... » en propose un, Suivant le crée au
// besoin et le range (logique de la destination).

#include "commun/ContexteTelechargement.h"
#include "fenetres/PageLivret.h"

class QLineEdit;

namespace emporteur::fenetres {

class PageDestination : public PageLivret {
    Q_OBJECT
  public:
    PageDestination(Livret& livret, ContexteTelechargement& ctx);

    bool Activer() override;
    bool Suivant() override;

  private:
    void Parcourir();

    ContexteTelechargement& ctx_;
    QLineEdit* dossier_; // 1014
};

} // namespace emporteur::fenetres
