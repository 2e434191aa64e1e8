#include "fenetres/Livret.h"

#include "fenetres/Images.h"
#include "fenetres/PageBienvenue.h"
#include "fenetres/PageDestination.h"
#include "fenetres/PageListeVersion.h"
#include "fenetres/PagesSuivantes.h"

#include <QAbstractButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace emporteur::fenetres {

namespace {
// Le plus grand modèle de page (liste des versions), en unités de dialogue.
constexpr int kLargeurModele = 322, kHauteurModele = 265;
// Place laissée au cadre et à la barre de titre du gestionnaire de fenêtres.
const QSize kDecoration{16, 48};
constexpr qreal kPlusPetitePolice = 6.0;

// Ce qu'ajoute le livret autour d'une page (marges, rangée de boutons) avec cette police,
// mesuré sur un livret vide du même style.
QSize Habillage(const QFont& police) {
    QWizard essai;
    essai.setFont(police);
    essai.setWizardStyle(QWizard::ClassicStyle);
    essai.setOption(QWizard::HaveHelpButton, false);
    // Une page plus grande que le minimum de 500 × 360 que QWizard impose à son sizeHint.
    const QSize grande(1000, 1000);
    auto* page = new QWizardPage;
    page->setMinimumSize(grande);
    essai.addPage(page);
    essai.restart(); // la page n'entre dans la mise en page qu'une fois courante
    return essai.sizeHint() - grande;
}

// La police des pages : celle de l'application si le livret tient dans `disponible`,
// sinon réduite (les unités de dialogue avec elle) jusqu'à ce qu'il y tienne.
QFont PoliceQuiTient(QFont police, const QSize& disponible) {
    for (;;) {
        const QSize voulu = UnitesDialogue(police).Taille(kLargeurModele, kHauteurModele) +
                            Habillage(police) + kDecoration;
        const qreal taille = police.pointSizeF();
        if ((voulu.width() <= disponible.width() && voulu.height() <= disponible.height()) ||
            taille <= kPlusPetitePolice)
            return police;
        police.setPointSizeF(std::max(kPlusPetitePolice, taille * 0.9));
    }
}
} // namespace

Livret::Livret(ContexteTelechargement& ctx, ModeExecution mode, DernierAvis& avis,
               DialogueAvis& dialogue, std::function<bool()> connexion)
    : ordre_{kPageBienvenue, kPageListeVersion, kPageDestination, kPageTelechargement,
             kPageTerminay} {
    setWindowTitle("Emporteur");
    // Jamais plus grand que l'écran : les pages prennent cette police à leur construction.
    const QSize disponible = screen()->availableGeometry().size();
    setFont(PoliceQuiTient(font(), disponible));
    setWindowIcon(IconeProgramme());
    setWizardStyle(QWizard::ClassicStyle);
    setOption(QWizard::HaveHelpButton, false);
    setButtonText(QWizard::BackButton, "< Précédent");
    setButtonText(QWizard::NextButton, "Suivant >");
    setButtonText(QWizard::CommitButton, "Suivant >");
    setButtonText(QWizard::FinishButton, "Terminer");
    setButtonText(QWizard::CancelButton, "Annuler");
    setButtonLayout({QWizard::Stretch, QWizard::BackButton, QWizard::NextButton,
                     QWizard::CommitButton, QWizard::FinishButton, QWizard::CancelButton});

    auto* liste = new PageListeVersion(*this, ctx, mode);
    setPage(kPageBienvenue, new PageBienvenue(*this, ctx, mode, liste->Mode(), avis, dialogue,
                                              std::move(connexion)));
    setPage(kPageListeVersion, liste);
    setPage(kPageDestination, new PageDestination(*this, ctx));
    setPage(kPageTelechargement, new PageTelechargement(*this, ctx));
    setPage(kPageTerminay, new PageTerminay(*this, ctx));
    setStartId(kPageBienvenue);
    connect(this, &QWizard::currentIdChanged, this, &Livret::Activation);
    // Une seule taille d'une page à l'autre, celle de la plus grande, et pas d'agrandissement :
    // les contrôles sont placés au pixel près.
    QSize plusGrande;
    for (const int id : ordre_)
        plusGrande = plusGrande.expandedTo(page(id)->minimumSize()).expandedTo(page(id)->sizeHint());
    setFixedSize((plusGrande + Habillage(font())).boundedTo(disponible - kDecoration));
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
}

Livret::~Livret() = default;

PageLivret* Livret::Page(int id) const {
    return static_cast<PageLivret*>(page(id));
}

int Livret::nextId() const {
    const auto ici = std::find(ordre_.begin(), ordre_.end(), currentId());
    if (ici == ordre_.end() || ici + 1 == ordre_.end()) return -1;
    return *(ici + 1);
}

bool Livret::ActiverPage(int id) {
    activees_.insert(id);
    const bool acceptee = Page(id)->Activer();
    if (!acceptee) Page(id)->Decliner();
    return acceptee;
}

bool Livret::Preparer() {
    for (const int id : ordre_) {
        const bool acceptee = ActiverPage(id);
        if (finDemandee_) return false;
        if (acceptee) {
            setStartId(id);
            return true;
        }
    }
    return false;
}

void Livret::Activation(int id) {
    if (id == -1 || activees_.count(id)) return;
    if (!ActiverPage(id) && !finDemandee_) {
        // La page déclinée n'est jamais validée : on passe à la suivante dès le retour
        // à la boucle d'événements.
        QTimer::singleShot(0, this, [this] { next(); });
    }
}

void Livret::reject() {
    if (auto* courante = Page(currentId())) courante->Annulation();
    QWizard::reject();
}

void Livret::DemanderFin() {
    finDemandee_ = true;
    if (isVisible()) QTimer::singleShot(0, this, [this] { done(QDialog::Rejected); });
}

} // namespace emporteur::fenetres
