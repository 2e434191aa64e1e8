#include "fenetres/PagesSuivantes.h"

#include "assistant/LogiqueTelechargement.h"
#include "assistant/LogiqueTerminay.h"
#include "download/ReglageConnexions.h"
#include "fenetres/Livret.h"
#include "fenetres/TexteQt.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>

namespace emporteur::fenetres {

namespace {
QProgressBar* Barre(QWidget* parent, const QString& nom) {
    auto* barre = new QProgressBar(parent);
    barre->setRange(0, 100);
    barre->setTextVisible(false);
    barre->setAccessibleName(nom);
    return barre;
}
} // namespace

PageTelechargement::PageTelechargement(Livret& livret, ContexteTelechargement& ctx)
    : PageLivret(livret, 304, 158), ctx_(ctx), journal_(new QPlainTextEdit(this)),
      temps_(TexteStatique(this, {}, true)), taille_(TexteStatique(this, {}, true)),
      total_(Barre(this, "Pourcentage total")),
      segment_(Barre(this, "Pourcentage pour ce segment")) {
    journal_->setReadOnly(true);
    journal_->setLineWrapMode(QPlainTextEdit::NoWrap);
    journal_->setAccessibleName("Messages");
    journal_->setObjectName("journal");
    unites_.Placer(temps_, 12, 89, 276, 13);
    unites_.Placer(journal_, 13, 6, 276, 80);
    unites_.Placer(segment_, 117, 143, 171, 14);
    unites_.Placer(total_, 117, 126, 171, 14);
    unites_.Placer(TexteStatique(this, "Pourcentage total"), 11, 129, 58, 8);
    unites_.Placer(TexteStatique(this, "Pourcentage pour ce segment"), 11, 145, 99, 8);
    unites_.Placer(taille_, 12, 106, 276, 13);
    temps_->setObjectName("temps");
    taille_->setObjectName("taille");
    total_->setObjectName("total");
    segment_->setObjectName("segment");
    minuterie_.setInterval(50);
    connect(&minuterie_, &QTimer::timeout, this, &PageTelechargement::Releve);
}

bool PageTelechargement::Activer() {
    FixerBoutons(Boutons::Aucun);
    if (execution_) return true;
    execution_ = std::make_unique<ExecuteurTache>(ctx_.RecetteChoisie(), &ctx_.Interface,
                                                  LireReglageConnexions());
    execution_->Demarrer();
    minuterie_.start();
    return true;
}

void PageTelechargement::Releve() {
    const auto releve = execution_->Relever();
    if (releve.JournalChange) {
        // Réécrit seulement quand le journal change ; sinon la position de l'utilisateur reste.
        journal_->setUpdatesEnabled(false);
        journal_->setPlainText(Q(execution_->Journal()));
        journal_->verticalScrollBar()->setValue(journal_->verticalScrollBar()->maximum());
        journal_->setUpdatesEnabled(true);
    }
    taille_->setText(Q(TexteTailleRestante(releve.Fini ? 0 : releve.OctetsRestants)));
    if (releve.Fini) {
        total_->setValue(100);
        segment_->setValue(100);
        minuterie_.stop();
        livret_.next(); // le départ de la page fait l'arrêt
        return;
    }
    total_->setValue(releve.PourcentageTotal);
    segment_->setValue(releve.PourcentageSegment);
    temps_->setText(Q(TexteTempsApproximatif(releve.TempsRestant)));
}

bool PageTelechargement::Suivant() {
    return Arreter(false);
}

void PageTelechargement::Annulation() {
    // Le livret se ferme quelle que soit la décision ; un fil qui tournerait encore
    // après l'attente bornée est joint par l'exécuteur, à la destruction de la page.
    Arreter(true);
}

bool PageTelechargement::Arreter(bool annulation) {
    const DecisionArret issue = ArreterTelechargement(echecSignale_, annulation, [this] {
        minuterie_.stop();
        if (!execution_) return std::optional<int>();
        execution_->Annuler(); // réveillé dès que le fil rend son code
        return execution_->Code();
    });
    if (issue.AnnoncerEchec)
        ctx_.Interface.BoiteMessage(kMessageEchecTelechargement, "Emporteur", MB_OK | MB_ICONHAND);
    if (issue.ActiverSuivant) FixerBoutons(Boutons::Suivant);
    return issue.Quitter;
}

PageTerminay::PageTerminay(Livret& livret, ContexteTelechargement& ctx)
    : PageLivret(livret, 321, 158), ctx_(ctx), lancement_(this),
      compteRendu_(new QTreeWidget(this)),
      lancer_(new QCheckBox("Lancer l’exécutable maintenant", this)),
      dossier_(TexteStatique(this, "Paramètre fictif", true)) {
    setFinalPage(true);
    auto* explorer = new QPushButton("Explorer ce dossier...", this);
    auto* titre =
        TexteStatique(this, "Le téléchargement est terminé. Voici un court compte rendu\u00A0:");
    unites_.Placer(explorer, 21, 124, 86, 14);
    unites_.Placer(lancer_, 21, 149, 276, 8);
    unites_.Placer(titre, 21, 6, 203, 8);
    unites_.Placer(compteRendu_, 21, 18, 276, 71);
    unites_.Placer(dossier_, 21, 94, 276, 26);
    compteRendu_->setHeaderLabels({"Fichier", "Résultat"});
    compteRendu_->setRootIsDecorated(false);
    compteRendu_->setAccessibleName(titre->text());
    compteRendu_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    compteRendu_->header()->setStretchLastSection(false);
    connect(explorer, &QPushButton::clicked, this, [this] { ExplorerDossierTelechargement(ctx_); });
    // L'ordre du modèle : Explorer, la case, puis la liste.
    setTabOrder(explorer, lancer_);
    setTabOrder(lancer_, compteRendu_);
}

bool PageTerminay::Activer() {
    FixerBoutons(Boutons::Terminer);
    // Annuler devient une fermeture indisponible.
    auto* annuler = livret_.button(QWizard::CancelButton);
    annuler->setText("Fermer");
    annuler->setEnabled(false);
    const CompteRendu rendu = PreparerCompteRendu(ctx_);
    compteRendu_->clear();
    for (const auto& ligne : rendu.Lignes)
        compteRendu_->addTopLevelItem(new QTreeWidgetItem({Q(ligne.Fichier), Q(ligne.Resultat)}));
    lancer_->setChecked(rendu.Lancement);
    lancer_->setEnabled(rendu.Lancement);
    dossier_->setText(Q(rendu.TexteDossier));
    return true;
}

bool PageTerminay::Suivant() {
    if (lance_ || !lancer_->isChecked()) return true;
    // L'attente de la fenêtre du programme lancé (5 s au plus) se fait hors du fil de
    // l'interface ; Terminer ferme ensuite le livret.
    if (lancement_.Lancer([this] { TerminerAssistant(ctx_, true); },
                          [this] {
                              lance_ = true;
                              livret_.unsetCursor();
                              auto* terminer = livret_.button(QWizard::FinishButton);
                              terminer->setEnabled(true);
                              terminer->click();
                          })) {
        livret_.setCursor(Qt::WaitCursor);
        livret_.button(QWizard::FinishButton)->setEnabled(false);
    }
    return false;
}

} // namespace emporteur::fenetres
