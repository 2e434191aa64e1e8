#pragma once
// La boîte de message de l'interface, d'après le mot de style Windows que le noyau
// passe : icône, jeu de boutons en français, bouton par défaut (Entrée), Échap et
// case de fermeture comme sous Windows. Rend l'identifiant Windows du bouton.

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
    int Executer();

    // Le bouton de cet identifiant, ou nullptr (pour les tests).
    QPushButton* Bouton(int identifiant) const;

  protected:
    void keyPressEvent(QKeyEvent* evenement) override;
    void closeEvent(QCloseEvent* evenement) override;

  private:
    int echap_;
    int reponse_ = 0;
};

// Libellé français d'un bouton de boîte de message.
QString LibelleBouton(int identifiant);

} // namespace emporteur::fenetres
