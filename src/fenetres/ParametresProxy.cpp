#include "fenetres/ParametresProxy.h"

#include "assistant/LogiqueProxy.h"
#include "fenetres/UnitesDialogue.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace emporteur::fenetres {

ParametresProxy::ParametresProxy(ParametresConnexion& parametres, QWidget* parent)
    : QDialog(parent), parametres_(parametres), serveur_(new QLineEdit(this)),
      port_(new QLineEdit(this)) {
    // Légende vide : Qt remplacerait un titre vide par le nom du programme, une espace non.
    setWindowTitle(" ");
    const UnitesDialogue unites(font());
    setFixedSize(unites.Taille(230, 67));
    auto* etiquetteServeur = new QLabel("Nom du serveur proxy :", this);
    auto* etiquettePort = new QLabel("Port :", this);
    etiquetteServeur->setBuddy(serveur_);
    etiquettePort->setBuddy(port_);
    serveur_->setAccessibleName("Nom du serveur proxy");
    port_->setAccessibleName("Port");
    auto* confirmer = new QPushButton("Confirmer", this);
    auto* annuler = new QPushButton("Annuler", this);
    confirmer->setDefault(true);
    unites.Placer(serveur_, 96, 6, 126, 12);
    unites.Placer(port_, 96, 24, 126, 12);
    unites.Placer(confirmer, 119, 46, 50, 14);
    unites.Placer(annuler, 173, 46, 50, 14);
    unites.Placer(etiquetteServeur, 12, 6, 78, 12);
    unites.Placer(etiquettePort, 12, 24, 78, 12);
    connect(confirmer, &QPushButton::clicked, this, &QDialog::accept);
    connect(annuler, &QPushButton::clicked, this, &QDialog::reject);
    const TextesProxy textes = TextesInitiauxProxy();
    serveur_->setText(QString::fromStdString(textes.Serveur));
    port_->setText(QString::fromStdString(textes.Port));
}

void ParametresProxy::accept() {
    ConfirmerProxy(parametres_, {serveur_->text().toStdString(), port_->text().toStdString()});
    QDialog::accept();
}

void ParametresProxy::reject() {
    AnnulerProxy(parametres_);
    QDialog::reject();
}

} // namespace emporteur::fenetres
