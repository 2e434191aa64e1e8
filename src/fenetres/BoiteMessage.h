#pragma once
// La boîte de message de l'interface, d'après le mot de style Windows que le noyau
// passe : icône, jeu de boutons en français, bouton par défaut (Entrée), Échap et
// case de fermeture comme sous Windows. Rend l'identifiant Windows du bouton.

#include "foundation/InterfaceUtilisateur.h"

#include <QDialog>
#include <QString>

class QPushButton;

namespace emporteur::fenetres {

class BoiteMessage : public QDialog {
    Q_OBJECT
  public:
    BoiteMessage(const QString& texte, const QString& titre, unsigned style,
                 QWidget* parent = nullptr);

    // Affiche la boîte de façon modale ; rend IDOK, IDCANCEL, IDYES…
    Reponse Executer();

    // Le bouton de cet identifiant, ou nullptr (pour les tests).
    QPushButton* Bouton(Reponse identifiant) const;

  protected:
    void keyPressEvent(QKeyEvent* evenement) override;
    void closeEvent(QCloseEvent* evenement) override;

  private:
    Reponse echap_;
    Reponse reponse_{};
};

// Libellé français d'un bouton de boîte de message.
QString LibelleBouton(Reponse identifiant);

} // namespace emporteur::fenetres
