#include "fenetres/PageListeVersion.h"

#include "assistant/ChoixVersions.h"
#include "assistant/DefilementListe.h"
#include "assistant/ModeleListeVersions.h"
#include "fenetres/TexteQt.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace emporteur::fenetres {

PageListeVersion::PageListeVersion(Livret& livret, ContexteTelechargement& ctx, ModeExecution mode)
    : PageLivret(livret, 322, 265), ctx_(ctx), mode_(mode), intro_(new QLabel(this)),
      cadre_(new QScrollArea(this)), miseANiveau_(new QGroupBox(this)) {
    intro_->setWordWrap(true);
    intro_->setTextFormat(Qt::PlainText);
    intro_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    unites_.Placer(intro_, 20, 2, 254, 47);
    // Le cadre 1066 et sa barre 1067, côte à côte dans le modèle, en un seul contrôle.
    cadre_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    cadre_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    cadre_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    cadre_->setGeometry(unites_.Rectangle(4, 59, 313, 203));
    // Le premier arrêt de Tab est la première case, pas le cadre qui les porte.
    cadre_->setFocusPolicy(Qt::NoFocus);
    cadre_->setAccessibleName("Éléments à télécharger");
    unites_.Placer(miseANiveau_, 1, 83, 266, 31);
    miseANiveau_->hide();
    // Les flèches et les clics dans la barre avancent des pas de la liste (Defiler), pas
    // des 20 pixels de Qt ; le glissement du curseur reste libre.
    connect(cadre_->verticalScrollBar(), &QScrollBar::actionTriggered, this,
            &PageListeVersion::Defilement);
    // Les lignes du modèle ont 12 pixels : à l'échelle d'une case à cocher de la police.
    echelle_ = std::max(1.0, QCheckBox("X").sizeHint().height() / 12.0);
}

bool PageListeVersion::Activer() {
    FixerBoutons(Boutons::Suivant);
    Construire();
    if (mode_ != ModeExecution::MajDiscrete) return true;
    // Mode discret : le choix présélectionné vaut, la page ne se montre pas.
    AccepterChoixVersions(ctx_, Cochees());
    return false;
}

void PageListeVersion::Construire() {
    for (auto& [indice, boite] : cases_)
        delete boite;
    cases_.clear();
    const auto px = [this](int v) { return static_cast<int>(std::lround(v * echelle_)); };
    const int visible = cadre_->height() - 2 * cadre_->frameWidth();
    const auto modele =
        ConstruireModeleListe(ctx_, static_cast<int>(visible / echelle_),
                              static_cast<int>((intro_->geometry().bottom() + 1) / echelle_));
    intro_->setText(Q(modele.introduction));
    unites_.Placer(intro_, 20, 2, 254, 47);    // le texte change : sa hauteur suit
    cadre_->setAccessibleDescription(intro_->text()); // l'introduction, lue à la demande

    const int droite = intro_->geometry().right() + 1; // R : droite du texte d'introduction
    std::vector<QWidget*> rubriques;
    auto* contenu = new QWidget;
    for (const auto& r : modele.rubriques) {
        QWidget* rubrique = miseANiveau_;
        if (modele.miseANiveau) {
            miseANiveau_->setTitle(Q(r.titre));
        } else {
            auto* titre = new QLabel(Q(r.titre), contenu);
            titre->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            titre->setObjectName(QString("rubrique%1").arg(r.id));
            rubrique = titre;
        }
        rubrique->setGeometry(px(modele.gaucheRubriques), px(r.haut),
                              droite - px(modele.gaucheRubriques), px(r.hauteur));
        rubriques.push_back(rubrique);
    }
    for (const auto& l : modele.lignes) {
        auto* boite = new QCheckBox(Q(l.texte), rubriques[l.rubrique]);
        boite->setObjectName(QString("ligne%1").arg(l.id));
        boite->setChecked(l.cochee);
        boite->setGeometry(px(liste_versions::kGaucheLigne), px(l.haut),
                           droite - px(liste_versions::kMargeDroiteLigne) -
                               px(liste_versions::kGaucheLigne),
                           std::max(px(l.bas - l.haut), boite->sizeHint().height()));
        cases_.emplace_back(l.indice, boite);
    }
    miseANiveau_->setVisible(modele.miseANiveau);
    cadre_->setVisible(!modele.miseANiveau);
    contenu->resize(droite, px(modele.hauteurContenu));
    cadre_->setWidget(contenu); // l'ancien contenu est détruit
    decalage_ = px(modele.decalage);
    cadre_->verticalScrollBar()->setValue(decalage_);
}

void PageListeVersion::Defilement(int action) {
    auto* barre = cadre_->verticalScrollBar();
    ActionBarre pas = ActionBarre::Autre;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        pas = ActionBarre::LigneHaut;
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        pas = ActionBarre::LigneBas;
        break;
    case QAbstractSlider::SliderPageStepSub:
        pas = ActionBarre::PageHaut;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        pas = ActionBarre::PageBas;
        break;
    default:
        return;
    }
    // La barre a déjà avancé de son propre pas : on repart de sa valeur, pas encore changée.
    const EtatDefilement etat{barre->value(), barre->maximum() + barre->pageStep(),
                              barre->pageStep()};
    barre->setSliderPosition(Defiler(etat, pas));
}

void PageListeVersion::showEvent(QShowEvent* evenement) {
    PageLivret::showEvent(evenement);
    // Les bornes de la barre ne sont connues qu'une fois le cadre disposé.
    QTimer::singleShot(0, this, [this] { cadre_->verticalScrollBar()->setValue(decalage_); });
}

std::vector<bool> PageListeVersion::Cochees() const {
    std::vector<bool> cochees(ctx_.Recettes.size(), false);
    for (const auto& [indice, boite] : cases_)
        if (indice < cochees.size()) cochees[indice] = boite->isChecked();
    return cochees;
}

bool PageListeVersion::Suivant() {
    return AccepterChoixVersions(ctx_, Cochees());
}

void PageListeVersion::Quitter() {
    RassemblerChoixVersions(ctx_, Cochees());
}

} // namespace emporteur::fenetres
