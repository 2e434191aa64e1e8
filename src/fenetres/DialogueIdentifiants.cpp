#include "fenetres/DialogueIdentifiants.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace emporteur::fenetres {

DialogueIdentifiants::DialogueIdentifiants(const QString& adresse, bool mandataire, QWidget* parent)
    : QDialog(parent), utilisateur_(new QLineEdit), motDePasse_(new QLineEdit) {
    setWindowTitle("Emporteur");
    motDePasse_->setEchoMode(QLineEdit::Password);
    auto* invite = new QLabel(mandataire ? "Le serveur proxy demande une authentification."
                                         : "Le serveur demande une authentification :\n" + adresse);
    invite->setTextFormat(Qt::PlainText);
    auto* champs = new QFormLayout;
    champs->addRow("Nom d’utilisateur :", utilisateur_);
    champs->addRow("Mot de passe :", motDePasse_);
    utilisateur_->setAccessibleName("Nom d’utilisateur");
    motDePasse_->setAccessibleName("Mot de passe");
    auto* boutons = new QDialogButtonBox;
    boutons->addButton("OK", QDialogButtonBox::AcceptRole)->setDefault(true);
    boutons->addButton("Annuler", QDialogButtonBox::RejectRole);
    connect(boutons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(boutons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* tout = new QVBoxLayout(this);
    tout->addWidget(invite);
    tout->addLayout(champs);
    tout->addWidget(boutons);
}

QString DialogueIdentifiants::Utilisateur() const {
    return utilisateur_->text();
}

QString DialogueIdentifiants::MotDePasse() const {
    return motDePasse_->text();
}

} // namespace emporteur::fenetres
