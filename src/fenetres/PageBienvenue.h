#pragma once
// La page d'accueil : mise à jour gratuite ou mise à niveau, mandataire ; son
// Suivant récupère le catalogue (logique de l'accueil) et, dans les modes
// automatiques, s'exécute dès l'activation, avant que le livret se montre.
//
// Livret affiché, Suivant ne tient pas le fil de l'interface : la logique tourne sur
// un travail de fond, l'assistant (seul) porte le curseur d'attente, puis la page
// suit l'action rendue. Les boîtes et l'avis sont posés sur le fil de l'interface.

#include "assistant/LogiqueBienvenue.h"
#include "fenetres/PageLivret.h"
#include "fenetres/TravailDeFond.h"

#include <QPixmap>

#include <memory>
#include <optional>

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
    Issue Suivre(ActionBienvenue action);
    void LancerSuivant();
    void FinSuivant();
    void ReglerProxy();

    ContexteTelechargement& ctx_;
    ModeExecution mode_;
    std::unique_ptr<DialogueAvis> avisSurFil_; // l'avis, posé sur le fil de l'interface
    LogiqueBienvenue logique_;
    TravailDeFond travail_;
    ActionBienvenue action_ = ActionBienvenue::Rester; // rendue par le travail de fond
    std::optional<Issue> issuePrete_; // Suivant déjà fait : le prochain appel la rend
    QPixmap image_;
    QRect cadreImage_; // le contrôle 1017, caché : seule sa taille sert
    QRadioButton* miseAJour_;
    QRadioButton* miseANiveau_;
    QCheckBox* proxy_;
};

} // namespace emporteur::fenetres
