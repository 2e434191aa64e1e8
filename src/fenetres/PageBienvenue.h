#pragma once
// La page d'accueil : mise à jour gratuite ou mise à niveau, mandataire ; son
// Suivant récupère le catalogue (logique de l'accueil) et, dans les modes
// automatiques, s'exécute dès l'activation.

#include "assistant/LogiqueBienvenue.h"
#include "fenetres/PageLivret.h"

#include <QPixmap>

class QCheckBox;
class QRadioButton;

namespace emporteur::fenetres {

class PageBienvenue : public PageLivret {
    Q_OBJECT
  public:
    PageBienvenue(Livret& livret, ContexteTelechargement& ctx, ModeExecution mode,
                  ModeExecution& modeListe, DernierAvis& avis, DialogueAvis& dialogue,
                  std::function<bool()> connexion);

    bool Activer() override;
    bool Suivant() override;

  protected:
    void paintEvent(QPaintEvent* evenement) override;

  private:
    enum class Issue { Rester, Continuer, VersLaListe, Fin };
    Issue ActionSuivant();
    void ReglerProxy();

    ContexteTelechargement& ctx_;
    ModeExecution mode_;
    LogiqueBienvenue logique_;
    QPixmap image_;
    QRect cadreImage_; // le contrôle 1017, caché : seule sa taille sert
    QRadioButton* miseAJour_;
    QRadioButton* miseANiveau_;
    QCheckBox* proxy_;
};

} // namespace emporteur::fenetres
