#include "fenetres/MajAutoDialogueChoix.h"

#include "fenetres/Images.h"
#include "fenetres/UnitesDialogue.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace emporteur::fenetres {

MajAutoDialogueChoix::MajAutoDialogueChoix(ContexteTelechargement& ctx, bool miseAJour,
                                           bool miseANiveau, ModeExecution mode, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), ctx_(ctx),
      etat_(PreparerAvis(ctx, miseAJour, miseANiveau, mode)),
      miseANiveau_(new QPushButton("Mise à niveau", this)),
      miseAJour_(new QPushButton("Mise à jour", this)), plusTard_(new QPushButton(this)),
      question_(TexteStatique(this, {})), version_(TexteStatique(this, {})),
      nePlusAviser_(new QCheckBox("Ne plus aviser", this)) {
    setWindowIcon(IconeProgramme());
    const UnitesDialogue unites(font());
    setFixedSize(unites.Taille(263, 105));
    Afficher(etat_);
    plusTard_->setDefault(true);
    unites.Placer(miseANiveau_, 57, 74, 56, 13);
    unites.Placer(miseAJour_, 125, 74, 56, 13);
    unites.Placer(plusTard_, 196, 74, 48, 13);
    unites.Placer(question_, 15, 33, 222, 19);
    unites.Placer(version_, 15, 14, 182, 16);
    unites.Placer(nePlusAviser_, 14, 58, 61, 10);
    const auto fermer = [this](FermetureAvis comment) {
        return [this, comment] { done(static_cast<int>(FinDeFermeture(comment))); };
    };
    connect(miseANiveau_, &QPushButton::clicked, this, fermer(FermetureAvis::BoutonMiseANiveau));
    connect(miseAJour_, &QPushButton::clicked, this, fermer(FermetureAvis::BoutonMiseAJour));
    connect(plusTard_, &QPushButton::clicked, this, fermer(FermetureAvis::BoutonPlusTard));
    connect(nePlusAviser_, &QCheckBox::toggled, this, [this](bool coche) {
        CocherNePlusAviser(ctx_, etat_, coche);
        plusTard_->setText(QString::fromStdString(etat_.libelleFermer));
    });
}

void MajAutoDialogueChoix::Afficher(const EtatAvis& etat) {
    setWindowTitle(QString::fromStdString(etat.legende));
    version_->setText(QString::fromStdString(etat.texteVersion));
    question_->setText(QString::fromStdString(etat.question));
    plusTard_->setText(QString::fromStdString(etat.libelleFermer));
    miseANiveau_->setEnabled(etat.miseANiveauActif);
    miseAJour_->setEnabled(etat.miseAJourActif);
    nePlusAviser_->setVisible(etat.caseVisible);
}

void MajAutoDialogueChoix::keyPressEvent(QKeyEvent* evenement) {
    if (evenement->key() == Qt::Key_Escape) {
        done(static_cast<int>(FinDeFermeture(FermetureAvis::Echap)));
        return;
    }
    QDialog::keyPressEvent(evenement);
}

void MajAutoDialogueChoix::closeEvent(QCloseEvent* evenement) {
    // La fermeture par le gestionnaire de fenêtres : jamais un téléchargement.
    evenement->accept();
    done(static_cast<int>(FinDeFermeture(FermetureAvis::GestionnaireFenetres)));
}

FinAvis DialogueAvisQt::Afficher(ContexteTelechargement& ctx, bool miseAJour, bool miseANiveau,
                                 ModeExecution mode) {
    MajAutoDialogueChoix dialogue(ctx, miseAJour, miseANiveau, mode);
    return static_cast<FinAvis>(dialogue.exec());
}

} // namespace emporteur::fenetres
