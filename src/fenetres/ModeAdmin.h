#pragma once
// L'outil de calcul des listes CRC de l'administrateur, ouvert par « /a » : taille de
// segment, fichier, « Calculer » disponible selon la règle de l'outil, la liste et la
// taille totale. Le calcul tourne hors du fil de l'interface ; « Terminé » pendant
// un calcul l'arrête proprement.

#include "assistant/LogiqueModeAdmin.h"

#include <QDialog>

#include <atomic>
#include <functional>
#include <optional>
#include <thread>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace emporteur::fenetres {

class ModeAdmin : public QDialog {
    Q_OBJECT
  public:
    // `choisirFichier` : le choix d'un fichier existant ; rien si l'utilisateur renonce.
    using ChoixFichier = std::function<std::optional<QString>()>;
    explicit ModeAdmin(ChoixFichier choisirFichier = {}, QWidget* parent = nullptr);
    ~ModeAdmin() override;

    // Vrai pendant un calcul (pour les tests).
    bool CalculEnCours() const { return calcul_.joinable(); }

  private:
    void TailleModifiee(const QString& texte);
    void Parcourir();
    void Calculer();
    void Resultat(const TextesCalculCrc& textes);
    void ArreterCalcul();

    EtatModeAdmin etat_;
    ChoixFichier choisirFichier_;
    std::thread calcul_;
    std::atomic<bool> annulation_{false};
    QLineEdit* taille_;     // 1007
    QLineEdit* fichier_;    // 1006
    QPushButton* calculer_; // 1011
    QPlainTextEdit* liste_; // 1010
    QLineEdit* total_;      // 1008
};

} // namespace emporteur::fenetres
