#include "fenetres/PageDestination.h"

#include "assistant/LogiqueDestination.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace emporteur::fenetres {

PageDestination::PageDestination(Livret& livret, ContexteTelechargement& ctx)
    : PageLivret(livret, 321, 194), ctx_(ctx), dossier_(new QLineEdit(this)) {
    auto* invite =
        TexteStatique(this, "Veuillez indiquer l’emplacement où sauvegarder les fichiers à "
                            "télécharger.");
    auto* parcourir = new QPushButton("Parcourir...", this);
    unites_.Placer(invite, 24, 6, 276, 8);
    unites_.Placer(dossier_, 22, 71, 278, 12);
    unites_.Placer(parcourir, 227, 90, 50, 12);
    unites_.Placer(TexteStatique(this,
                                 "En cas d’interruption du transfert, les segments temporaires "
                                 "seront sauvegardés à cet emplacement."),
                   24, 22, 276, 18);
    unites_.Placer(TexteStatique(this,
                                 "Pour compléter un téléchargement interrompu, choisissez le même "
                                 "emplacement qu’au premier essai."),
                   24, 47, 276, 18);
    dossier_->setObjectName("dossier");
    dossier_->setAccessibleName(invite->text());
    invite->setBuddy(dossier_);
    connect(parcourir, &QPushButton::clicked, this, &PageDestination::Parcourir);
}

bool PageDestination::Activer() {
    FixerBoutons(Boutons::Suivant);
    dossier_->setText(
        QString::fromStdString(TexteDestination(ctx_, dossier_->text().toStdString())));
    return true;
}

void PageDestination::Parcourir() {
    if (const auto choisi = ParcourirDestination(ctx_.Interface, dossier_->text().toStdString()))
        dossier_->setText(QString::fromStdString(*choisi));
}

bool PageDestination::Suivant() {
    return SuivantDestination(ctx_, dossier_->text().toStdString());
}

} // namespace emporteur::fenetres
