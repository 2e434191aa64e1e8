#include "fenetres/BoiteMessage.h"

#include "foundation/InterfaceUtilisateur.h"
#include "foundation/JeuBoutons.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace emporteur::fenetres {

namespace {
QStyle::StandardPixmap IconeDe(unsigned styleBoite) {
    switch (styleBoite & style::MASQUE_ICONE) {
    case MB_ICONHAND:
        return QStyle::SP_MessageBoxCritical;
    case MB_ICONQUESTION:
        return QStyle::SP_MessageBoxQuestion;
    case MB_ICONEXCLAMATION:
        return QStyle::SP_MessageBoxWarning;
    case MB_ICONASTERISK:
        return QStyle::SP_MessageBoxInformation;
    default:
        return QStyle::SP_CustomBase; // aucune icône
    }
}

// Le nom que l'icône donne à lire : ce qu'elle dit de la boîte.
QString NomIcone(QStyle::StandardPixmap icone) {
    switch (icone) {
    case QStyle::SP_MessageBoxCritical:
        return "Erreur";
    case QStyle::SP_MessageBoxQuestion:
        return "Question";
    case QStyle::SP_MessageBoxWarning:
        return "Avertissement";
    default:
        return "Information";
    }
}

// Une boîte de message se présente comme une alerte, pas comme un dialogue quelconque :
// un lecteur d'écran la lit alors dès qu'elle paraît.
QAccessibleInterface* FabriqueAlerte(const QString&, QObject* objet) {
    if (auto* boite = qobject_cast<BoiteMessage*>(objet))
        return new QAccessibleWidget(boite, QAccessible::AlertMessage);
    return nullptr;
}
} // namespace

QString LibelleBouton(Reponse identifiant) {
    using enum Reponse;
    switch (identifiant) {
    case Ok:
        return "OK";
    case Annuler:
        return "Annuler";
    case Abandonner:
        return "&Abandonner";
    case Reessayer:
        return "&Réessayer";
    case Ignorer:
        return "&Ignorer";
    case Oui:
        return "&Oui";
    case Non:
        return "&Non";
    default:
        return {};
    }
}

BoiteMessage::BoiteMessage(const QString& texte, const QString& titre, unsigned styleBoite,
                           QWidget* parent)
    : QDialog(parent), echap_(ReponseEchap(styleBoite)) {
    static const bool fabriqueInstallee = (QAccessible::installFactory(FabriqueAlerte), true);
    (void)fabriqueInstallee;
    // Sans titre, une légende vide : Qt mettrait le nom du programme à la place d'un titre
    // vide, pas à celle d'une espace.
    setWindowTitle(titre.isEmpty() ? QString(" ") : titre);
    // Sans Échap possible, pas de case de fermeture non plus.
    if (echap_ == Reponse{})
        setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    auto* message = new QLabel(texte);
    message->setObjectName("texte");
    message->setTextFormat(Qt::PlainText);
    message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* haut = new QHBoxLayout;
    if (const auto icone = IconeDe(styleBoite); icone != QStyle::SP_CustomBase) {
        auto* image = new QLabel;
        const int cote = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        image->setPixmap(style()->standardIcon(icone, nullptr, this).pixmap(cote, cote));
        image->setAlignment(Qt::AlignTop);
        image->setAccessibleName(NomIcone(icone));
        haut->addWidget(image);
    }
    haut->addWidget(message, 1);
    auto* bas = new QHBoxLayout;
    bas->addStretch();
    const Reponse parDefaut = ReponseParDefaut(styleBoite);
    for (const Reponse id : BoutonsDeLaBoite(styleBoite)) {
        auto* bouton = new QPushButton(LibelleBouton(id));
        bouton->setProperty("identifiant", static_cast<int>(id));
        bouton->setAccessibleName(QString(LibelleBouton(id)).remove('&'));
        bouton->setDefault(id == parDefaut);
        bouton->setAutoDefault(true);
        connect(bouton, &QPushButton::clicked, this, [this, id] {
            reponse_ = id;
            accept();
        });
        bas->addWidget(bouton);
        if (id == parDefaut) bouton->setFocus();
    }
    bas->addStretch();
    auto* tout = new QVBoxLayout(this);
    tout->addLayout(haut);
    tout->addLayout(bas);
    tout->setSizeConstraint(QLayout::SetFixedSize);
}

QPushButton* BoiteMessage::Bouton(Reponse identifiant) const {
    for (auto* bouton : findChildren<QPushButton*>())
        if (bouton->property("identifiant").toInt() == static_cast<int>(identifiant)) return bouton;
    return nullptr;
}

Reponse BoiteMessage::Executer() {
    exec();
    return reponse_ != Reponse{} ? reponse_ : echap_;
}

void BoiteMessage::keyPressEvent(QKeyEvent* evenement) {
    if (evenement->key() == Qt::Key_Escape && echap_ == Reponse{})
        return; // sans effet, comme à l'origine
    QDialog::keyPressEvent(evenement);
}

void BoiteMessage::closeEvent(QCloseEvent* evenement) {
    if (echap_ == Reponse{} && reponse_ == Reponse{}) {
        evenement->ignore();
        return;
    }
    QDialog::closeEvent(evenement);
}

} // namespace emporteur::fenetres
