#pragma once
// La question d'identifiants après un 401 ou un 407 : utilisateur et mot de passe.

#include <QDialog>

class QLineEdit;

namespace emporteur::fenetres {

class DialogueIdentifiants : public QDialog {
    Q_OBJECT
  public:
    DialogueIdentifiants(const QString& adresse, bool mandataire, QWidget* parent = nullptr);

    QString Utilisateur() const;
    QString MotDePasse() const;

  private:
    QLineEdit* utilisateur_;
    QLineEdit* motDePasse_;
};

} // namespace emporteur::fenetres
