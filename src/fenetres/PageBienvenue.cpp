#include "fenetres/PageBienvenue.h"

#include "fenetres/Images.h"
#include "fenetres/Livret.h"
#include "fenetres/ParametresProxy.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QRadioButton>
#include <QThread>

#ifndef EMPORTEUR_VERSION
#error "EMPORTEUR_VERSION doit venir de la construction"
#endif

namespace emporteur::fenetres {

namespace {
// L'avis est une fenêtre : appelé depuis un travail de fond, il est montré sur le
// fil de l'interface, et le travail attend sa fin.
class AvisSurFilInterface : public DialogueAvis {
  public:
    explicit AvisSurFilInterface(DialogueAvis& avis) : avis_(avis) {}
    FinAvis Afficher(ContexteTelechargement& ctx, bool miseAJour, bool miseANiveau,
                     ModeExecution mode) override {
        auto* application = QCoreApplication::instance();
        if (!application || QThread::currentThread() == application->thread())
            return avis_.Afficher(ctx, miseAJour, miseANiveau, mode);
        FinAvis fin = FinAvis::PlusTard;
        QMetaObject::invokeMethod(
            application, [&] { fin = avis_.Afficher(ctx, miseAJour, miseANiveau, mode); },
            Qt::BlockingQueuedConnection);
        return fin;
    }

  private:
    DialogueAvis& avis_;
};
} // namespace

PageBienvenue::PageBienvenue(Livret& livret, ContexteTelechargement& ctx, ModeExecution mode,
                             ModeExecution& modeListe, DernierAvis& avis, DialogueAvis& dialogue,
                             std::function<bool()> connexion)
    : PageLivret(livret, 321, 258), ctx_(ctx), mode_(mode),
      avisSurFil_(std::make_unique<AvisSurFilInterface>(dialogue)),
      logique_(ctx, mode, modeListe, avis, *avisSurFil_, std::move(connexion)), travail_(this),
      image_(ImageAccueil()), cadreImage_(QPoint(0, 0), unites_.Taille(89, 55)),
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
    if (issuePrete_) {
        const Issue issue = *issuePrete_;
        issuePrete_.reset();
        return issue == Issue::Continuer || issue == Issue::VersLaListe;
    }
    // Avant l'affichage (modes automatiques) il n'y a rien à repeindre.
    if (!livret_.isVisible()) {
        const Issue issue = ActionSuivant();
        return issue == Issue::Continuer || issue == Issue::VersLaListe;
    }
    LancerSuivant();
    return false; // la page suivra l'action quand le travail de fond l'aura rendue
}

PageBienvenue::Issue PageBienvenue::ActionSuivant() {
    return Suivre(logique_.Suivant(!miseAJour_->isChecked()));
}

void PageBienvenue::LancerSuivant() {
    const bool miseANiveau = !miseAJour_->isChecked();
    if (!travail_.Lancer([this, miseANiveau] { action_ = logique_.Suivant(miseANiveau); },
                         [this] { FinSuivant(); }))
        return;
    // Le curseur d'attente ne couvre que l'assistant : une boîte qui attend garde la flèche.
    livret_.setCursor(Qt::WaitCursor);
    FixerBoutons(Boutons::Aucun);
    for (QWidget* choix : {static_cast<QWidget*>(miseAJour_), static_cast<QWidget*>(miseANiveau_),
                           static_cast<QWidget*>(proxy_)})
        choix->setEnabled(false);
}

void PageBienvenue::FinSuivant() {
    livret_.unsetCursor();
    FixerBoutons(Boutons::Suivant);
    for (QWidget* choix : {static_cast<QWidget*>(miseAJour_), static_cast<QWidget*>(miseANiveau_),
                           static_cast<QWidget*>(proxy_)})
        choix->setEnabled(true);
    const Issue issue = Suivre(action_);
    if (issue != Issue::Continuer && issue != Issue::VersLaListe) return;
    issuePrete_ = issue;
    livret_.next(); // rappelle Suivant, qui rend l'issue prête
}

PageBienvenue::Issue PageBienvenue::Suivre(ActionBienvenue action) {
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
