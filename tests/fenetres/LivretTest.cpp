// Le livret réel, conduit comme une personne le ferait, contre un serveur local.
#include "BancLivret.h"

#include "fenetres/Demarrage.h"
#include "fenetres/PageLivret.h"
#include "foundation/CleRegistre.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

namespace emporteur::test {
namespace {

// Compte les fenêtres de premier niveau montrées.
class CompteurFenetres : public QObject {
  public:
    CompteurFenetres() { qApp->installEventFilter(this); }
    ~CompteurFenetres() override { qApp->removeEventFilter(this); }
    int montrees = 0;

  protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override {
        auto* w = qobject_cast<QWidget*>(objet);
        if (evenement->type() == QEvent::Show && w && w->isWindow()) ++montrees;
        return false;
    }
};

std::string ValeurAvis(const char* nom) {
    CleRegistre cle;
    std::string texte;
    cle.OuvrirCle(HKEY_CURRENT_USER, kCleTelechargement, KEY_READ);
    cle.LireTexte(nom, texte);
    return texte;
}

// Clique un bouton de l'avis, par son texte, après avoir coché la case si demandé.
Automate::Agir CliquerAvis(const QString& bouton, bool cocher = false) {
    return [bouton, cocher](QWidget* f) {
        if (cocher) f->findChild<QCheckBox*>()->click();
        for (auto* b : f->findChildren<QPushButton*>())
            if (b->text() == bouton) b->click();
    };
}

bool EstAvis(QWidget* f) {
    return qobject_cast<fenetres::MajAutoDialogueChoix*>(f) != nullptr;
}

using LivretTest = BancLivret;

TEST_F(LivretTest, SlashAEnTouteCasseOuvreLOutilQuiLitEtCreeLeDernierAvis) {
    for (const auto& [ligne, outil] : std::vector<std::pair<std::string, bool>>{
             {"/a", true}, {"/A", true}, {"/a ", false}, {"/a x", false}, {"a", false}})
        EXPECT_EQ(fenetres::EstOutilCrc(ligne), outil) << ligne;
    automate.Quand([](QWidget* f) { return f->windowTitle() == "Generation des CRC"; },
                   [](QWidget* f) { static_cast<QDialog*>(f)->accept(); });
    EXPECT_EQ(fenetres::Demarrer("/A"), 0);
    EXPECT_EQ(automate.EnAttente(), 0u);
    CleRegistre cle;
    ASSERT_EQ(cle.OuvrirCle(HKEY_CURRENT_USER, kCleTelechargement, KEY_READ), ERROR_SUCCESS);
    std::string texte = "x";
    for (const char* nom : {"DerniereVerification", "MAJ", "MAN"}) {
        EXPECT_EQ(cle.LireTexte(nom, texte), ERROR_SUCCESS) << nom;
        EXPECT_EQ(texte, "") << nom;
    }
    EXPECT_EQ(serveur.Requetes(), 0);
}

TEST_F(LivretTest, Mode1SansNouveauteNeMontreRienEtFinit) {
    Servir(kRecettesSansMaj, kBoutique6);
    for (const bool connecte : {false, true}) {
        CompteurFenetres compteur;
        fenetres::OptionsDemarrage options{[connecte] { return connecte; }};
        EXPECT_EQ(fenetres::Demarrer("MajDiscrete", options), 0);
        EXPECT_EQ(compteur.montrees, 0) << "connecté : " << connecte;
    }
    EXPECT_EQ(serveur.Requetes(), 3); // les trois textes, une fois, avec la connexion
    EXPECT_TRUE(automate.Vues().empty());
}

TEST_F(LivretTest, Mode1AvecMiseAJourChaqueFinDeLAvis) {
    Servir(kRecettesAvecMaj, kBoutique7);
    {
        // Plus tard : rien n'est écrit, rien ne s'affiche ensuite.
        Execution e(ModeExecution::MajDiscrete);
        automate.Quand(EstAvis, CliquerAvis("Plus tard"));
        EXPECT_FALSE(e.livret.Preparer());
        EXPECT_EQ(ValeurAvis("MAJ"), "");
        EXPECT_EQ(ValeurAvis("MAN"), "");
    }
    {
        // Ne plus aviser puis OK : MAJ et MAN notés.
        Execution e(ModeExecution::MajDiscrete);
        automate.Quand(EstAvis, CliquerAvis("OK", true));
        EXPECT_FALSE(e.livret.Preparer());
        EXPECT_EQ(ValeurAvis("MAJ"), "6.2.0.3");
        EXPECT_EQ(ValeurAvis("MAN"), "7");
    }
    {
        // Mise à jour : la liste décline en mode 1, le livret s'ouvre sur la destination.
        Execution e(ModeExecution::MajDiscrete);
        automate.Quand(EstAvis, CliquerAvis("Mise à jour"));
        EXPECT_TRUE(e.livret.Preparer());
        EXPECT_EQ(e.livret.startId(), fenetres::kPageDestination);
        EXPECT_EQ(e.ctx.IndiceChoisi, 1);
    }
    EXPECT_TRUE(automate.Inattendues().empty());
    EXPECT_EQ(automate.EnAttente(), 0u);
}

TEST_F(LivretTest, Mode2SansNouveauteDemandeSIlFautContinuer) {
    Servir(kRecettesSansMaj, kBoutique6);
    const QString question = "est la plus récente.";
    {
        Execution e(ModeExecution::MajPlusMan);
        automate.RepondreBoite(question, Reponse::Non);
        EXPECT_FALSE(e.livret.Preparer());
    }
    {
        Execution e(ModeExecution::MajPlusMan);
        automate.RepondreBoite(question, Reponse::Oui);
        ASSERT_TRUE(e.livret.Preparer());
        EXPECT_EQ(e.livret.startId(), fenetres::kPageBienvenue);
        e.livret.show();
        EXPECT_EQ(e.livret.currentId(), fenetres::kPageBienvenue);
    }
    EXPECT_TRUE(automate.Inattendues().empty());
}

TEST_F(LivretTest, AnnulerSurLAccueilFinitSansRienTelecharger) {
    Servir(kRecettesAvecMaj, kBoutique7);
    Execution e(ModeExecution::Ordinaire);
    ASSERT_TRUE(e.livret.Preparer());
    e.livret.show();
    EXPECT_EQ(e.livret.windowTitle(), "Emporteur");
    EXPECT_FALSE(e.livret.button(QWizard::BackButton)->isEnabled());
    EXPECT_FALSE(e.livret.button(QWizard::HelpButton)->isVisible());
    EXPECT_TRUE(e.livret.page(fenetres::kPageBienvenue)->findChild<QRadioButton*>()->isChecked());
    e.livret.button(QWizard::CancelButton)->click();
    EXPECT_TRUE(Attendre([&] { return !e.livret.isVisible(); }));
    EXPECT_EQ(e.livret.result(), QDialog::Rejected);
    EXPECT_EQ(serveur.Requetes(), 0);
}

TEST_F(LivretTest, ChaquePageRegleSesBoutons) {
    Servir(kRecettesAvecMaj, kBoutique7);
    Execution e(ModeExecution::Ordinaire);
    ASSERT_TRUE(e.livret.Preparer());
    e.livret.show();
    const std::vector<std::pair<int, bool>> pages = {
        {fenetres::kPageBienvenue, true},
        {fenetres::kPageListeVersion, true},
        {fenetres::kPageDestination, true},
        {fenetres::kPageTelechargement, false},
    };
    automate.RepondreBoite("n’existe pas", Reponse::Oui);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const auto [id, suivant] = pages[i];
        ASSERT_EQ(e.livret.currentId(), id);
        EXPECT_FALSE(e.livret.button(QWizard::BackButton)->isEnabled()) << id;
        EXPECT_EQ(e.livret.button(QWizard::CommitButton)->isEnabled(), suivant) << id;
        if (i + 1 < pages.size()) {
            ASSERT_TRUE(Suivant(e.livret, pages[i + 1].first)) << id;
        }
    }
}

} // namespace
} // namespace emporteur::test
