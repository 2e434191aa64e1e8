#pragma once
// Le dialogue du mandataire : s'ouvre sur le réglage du système, Confirmer
// (Entrée) enregistre le serveur et le port saisis, Annuler (Échap, ou la
// fermeture de la fenêtre) revient à « sans mandataire ».

#include "commun/ParametresConnexion.h"

#include <QDialog>

class QLineEdit;

namespace emporteur::fenetres {

class ParametresProxy : public QDialog {
    Q_OBJECT
  public:
    ParametresProxy(ParametresConnexion& parametres, QWidget* parent = nullptr);

    void accept() override;
    void reject() override;

  private:
    ParametresConnexion& parametres_;
    QLineEdit* serveur_;
    QLineEdit* port_;
};

} // namespace emporteur::fenetres
