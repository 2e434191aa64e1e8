#include "fenetres/PageBienvenue.h"

#include "fenetres/Images.h"
#include "fenetres/Livret.h"
#include "fenetres/ParametresProxy.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QRadioButton>

#ifndef EMPORTEUR_VERSION
#error "EMPORTEUR_VERSION doit venir de la construction"
#endif

namespace emporteur::fenetres {

PageBienvenue::PageBienvenue(Livret& livret, ContexteTelechargement& ctx, ModeExecution mode,
                             ModeExecution& modeListe, DernierAvis& avis, DialogueAvis& dialogue,
                             std::function<bool()> connexion)
    : PageLivret(livret, 321, 258), ctx_(ctx), mode_(mode),
      logique_(ctx, mode, modeListe, avis, dialogue, std::move(connexion)), image_(ImageAccueil()),
      cadreImage_(QPoint(0, 0), unites_.Taille(89, 55)),
      miseAJour_(new QRadioButton("Télécharger une mise à jour gratuite", this)),
      miseANiveau_(
          new QRadioButton("Télécharger une mise à niveau achetée à la boutique Orthalis", this)),
      proxy_(new QCheckBox("Utiliser un serveur proxy (option avancée).", this)) {
    unites_.Placer(miseAJour_, 12, 72, 142, 10);
    unites_.Placer(miseANiveau_, 11, 89, 223, 10);
    unites_.Placer(proxy_, 12, 164, 155, 10);
    unites_.Placer(TexteStatique(this,
                                 "Il découpe les fichiers en petits segments et en vérifie la "
                                 "validité. Ainsi, une corruption ou une interruption du transfert "
                                 "permettra de ne télécharger que les segments manquants."),
                   105, 34, 204, 34);
    unites_.Placer(TexteStatique(this, "L’Emporteur est un outil qui facilite le téléchargement de "
                                       "fichiers volumineux."),
                   105, 9, 202, 19);
    unites_.Placer(TexteStatique(this, "v" EMPORTEUR_VERSION), 12, 243, 42, 8);
    connect(proxy_, &QCheckBox::clicked, this, &PageBienvenue::ReglerProxy);
}

bool PageBienvenue::Activer() {
    window()->setWindowIcon(IconeProgramme());
    FixerBoutons(Boutons::Suivant);
    miseAJour_->setChecked(true);
    if (mode_ == ModeExecution::Ordinaire) return true;
    return ActionSuivant() == Issue::Continuer;
}

bool PageBienvenue::Suivant() {
    const Issue issue = ActionSuivant();
    return issue == Issue::Continuer || issue == Issue::VersLaListe;
}

PageBienvenue::Issue PageBienvenue::ActionSuivant() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ActionBienvenue action = logique_.Suivant(!miseAJour_->isChecked());
    QApplication::restoreOverrideCursor();
    switch (action) {
    case ActionBienvenue::Rester:
        return Issue::Rester;
    case ActionBienvenue::Suivante:
        return Issue::Continuer;
    case ActionBienvenue::ListeVersions:
        return Issue::VersLaListe; // la page suivante
    case ActionBienvenue::Quitter:
        livret_.DemanderFin();
        return Issue::Fin;
    }
    return Issue::Rester;
}

void PageBienvenue::ReglerProxy() {
    ParametresProxy dialogue(ctx_.Connexion, this);
    proxy_->setChecked(dialogue.exec() == QDialog::Accepted);
}

void PageBienvenue::paintEvent(QPaintEvent* evenement) {
    // L'image n'est peinte que si la zone à repeindre touche son cadre, en (0, 0).
    if (!evenement->rect().intersects(cadreImage_)) return;
    QPainter peintre(this);
    peintre.drawPixmap(0, 0, image_);
}

} // namespace emporteur::fenetres
