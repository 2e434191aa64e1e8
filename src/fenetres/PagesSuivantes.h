#pragma once
// Les pages du téléchargement (106) et de la fin (131).
//
// Téléchargement : la tâche part une fois, sur son fil, à la première activation ;
// un relevé toutes les 50 ms montre les barres, les libellés et le journal. À la
// fin de la tâche la page passe à la suivante ; un échec est annoncé une fois et
// retient la page jusqu'à Suivant. La tâche n'est jamais détruite tant que son fil
// tourne : après une annulation qui a abandonné, la page attend ce fil sans bloquer
// la boucle d'événements, qui continue de servir ses questions.
//
// Fin : le compte rendu fichier par fichier, le dossier, la case de lancement ;
// Terminer lance au besoin le programme téléchargé.

#include "commun/ContexteTelechargement.h"
#include "fenetres/PageLivret.h"

#include <QTimer>

#include <cstdint>
#include <future>
#include <memory>
#include <thread>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QTreeWidget;

namespace emporteur {
class TacheTelechargement;
}

namespace emporteur::fenetres {

class PageTelechargement : public PageLivret {
    Q_OBJECT
  public:
    PageTelechargement(Livret& livret, ContexteTelechargement& ctx);
    ~PageTelechargement() override;

    bool Activer() override;
    bool Suivant() override;
    void Annulation() override;

    // Vrai tant que le fil de travail n'a pas été joint (pour les tests).
    bool FilActif() const { return fil_.joinable(); }

  private:
    void Releve();
    bool Arreter(bool annulation);
    void AttendreFil();

    ContexteTelechargement& ctx_;
    std::unique_ptr<TacheTelechargement> tache_;
    std::future<int> code_;
    std::thread fil_;
    QTimer minuterie_;
    std::uint64_t versionJournal_ = 0;
    bool demarre_ = false;
    QPlainTextEdit* journal_; // 1003
    QLabel* temps_;           // 1000
    QLabel* taille_;          // 1007
    QProgressBar* total_;     // 1005
    QProgressBar* segment_;   // 1004
};

class PageTerminay : public PageLivret {
    Q_OBJECT
  public:
    PageTerminay(Livret& livret, ContexteTelechargement& ctx);
    bool Activer() override;
    bool Suivant() override;

  private:
    ContexteTelechargement& ctx_;
    QTreeWidget* compteRendu_; // 1019
    QCheckBox* lancer_;        // 1016
    QLabel* dossier_;          // 1023
};

} // namespace emporteur::fenetres
