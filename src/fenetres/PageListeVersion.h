#pragma once
// La liste des versions offertes : cases à cocher groupées sous des rubriques dans un
// cadre qui défile (chemin ordinaire) ou dans le cadre de la mise à niveau. La page
// dessine le modèle de la liste, à l'échelle de sa police ; Suivant et le
// rassemblement du choix sont ceux de la logique de la liste.

#include "commun/ContexteTelechargement.h"
#include "fenetres/PageLivret.h"

#include <utility>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QScrollArea;

namespace emporteur::fenetres {

class PageListeVersion : public PageLivret {
    Q_OBJECT
  public:
    PageListeVersion(Livret& livret, ContexteTelechargement& ctx, ModeExecution mode);

    // Le mode de la page, que l'accueil peut ramener à Ordinaire.
    ModeExecution& Mode() { return mode_; }

    bool Activer() override;
    bool Suivant() override;
    void Quitter() override;

    // Le cadre qui défile (pour les tests).
    QScrollArea* Cadre() const { return cadre_; }

  protected:
    void showEvent(QShowEvent* evenement) override;

  private:
    void Defilement(int action);
    void Construire();
    std::vector<bool> Cochees() const;

    ContexteTelechargement& ctx_;
    ModeExecution mode_;
    QLabel* intro_;          // 1039
    QScrollArea* cadre_;     // 1066 et sa barre 1067
    QGroupBox* miseANiveau_; // 1064
    std::vector<std::pair<std::size_t, QCheckBox*>> cases_;
    double echelle_ = 1.0; // pixels du modèle → pixels de l'écran
    int decalage_ = 0;     // défilement voulu à l'ouverture, en pixels de l'écran
};

} // namespace emporteur::fenetres
