#pragma once
// L'avis de mise à jour des modes automatiques : Mise à niveau (3), Mise à jour (2),
// Plus tard / OK (0), case « Ne plus aviser ». Sans case de fermeture ; Échap et
// une fermeture demandée par le gestionnaire de fenêtres valent « Plus tard ».

#include "autocheck/AvisMaj.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace emporteur::fenetres {

class MajAutoDialogueChoix : public QDialog {
    Q_OBJECT
  public:
    MajAutoDialogueChoix(ContexteTelechargement& ctx, bool miseAJour, bool miseANiveau,
                         ModeExecution mode, QWidget* parent = nullptr);

  protected:
    void keyPressEvent(QKeyEvent* evenement) override;
    void closeEvent(QCloseEvent* evenement) override;

  private:
    void Afficher(const EtatAvis& etat);

    ContexteTelechargement& ctx_;
    EtatAvis etat_;
    QPushButton* miseANiveau_;
    QPushButton* miseAJour_;
    QPushButton* plusTard_;
    QLabel* question_;
    QLabel* version_;
    QCheckBox* nePlusAviser_;
};

// La boîte de l'avis que la logique de l'accueil appelle.
class DialogueAvisQt : public DialogueAvis {
  public:
    FinAvis Afficher(ContexteTelechargement& ctx, bool miseAJour, bool miseANiveau,
                     ModeExecution mode) override;
};

} // namespace emporteur::fenetres
