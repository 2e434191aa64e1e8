#pragma once
// Les pages du téléchargement (106) et de la fin (131).
//
// Téléchargement : la tâche part une fois, sur son fil, à la première activation ;
// un relevé toutes les 50 ms montre les barres, les libellés et le journal. À la
// fin de la tâche la page passe à la suivante ; un échec est annoncé une fois et
// retient la page jusqu'à Suivant. L'exécuteur commun lance la tâche, l'annule et
// joint toujours son fil avant de la détruire.
//
// Fin : le compte rendu fichier par fichier, le dossier, la case de lancement ;
// Terminer lance au besoin le programme téléchargé et attend sa fenêtre sur un
// travail de fond, puis ferme le livret.

#include "assistant/ExecuteurTache.h"
#include "commun/ContexteTelechargement.h"
#include "fenetres/PageLivret.h"
#include "fenetres/TravailDeFond.h"

#include <QTimer>

#include <memory>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QTreeWidget;

namespace emporteur::fenetres {

class PageTelechargement : public PageLivret {
    Q_OBJECT
  public:
    PageTelechargement(Livret& livret, ContexteTelechargement& ctx);

    bool Activer() override;
    bool Suivant() override;
    void Annulation() override;

    // Vrai tant que le fil de travail n'a pas rendu son code (pour les tests).
    bool FilActif() const { return execution_ && execution_->Demarre() && !execution_->Code(); }

  private:
    void Releve();
    bool Arreter(bool annulation);

    ContexteTelechargement& ctx_;
    std::unique_ptr<ExecuteurTache> execution_;
    QTimer minuterie_;
    bool echecSignale_ = false; // l'échec n'est annoncé qu'une fois
    QPlainTextEdit* journal_;   // 1003
    QLabel* temps_;             // 1000
    QLabel* taille_;            // 1007
    QProgressBar* total_;       // 1005
    QProgressBar* segment_;     // 1004
};

class PageTerminay : public PageLivret {
    Q_OBJECT
  public:
    PageTerminay(Livret& livret, ContexteTelechargement& ctx);
    bool Activer() override;
    bool Suivant() override;

  private:
    ContexteTelechargement& ctx_;
    TravailDeFond lancement_;
    bool lance_ = false;       // le lancement est fait : Terminer ferme
    QTreeWidget* compteRendu_; // 1019
    QCheckBox* lancer_;        // 1016
    QLabel* dossier_;          // 1023
};

} // namespace emporteur::fenetres
