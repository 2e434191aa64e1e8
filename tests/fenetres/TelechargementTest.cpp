// L'assistant entier, de l'accueil à Terminer, contre un serveur local qui sert de
// vrais fichiers : téléchargement propre, réparé, en échec, annulé, déjà complet ;
// les barres et les libellés qui bougent ; le lancement à Terminer.
#include "BancLivret.h"

#include "crctool/ListeCrc.h"
#include "fenetres/PagesSuivantes.h"
#include "outils/DossierTemporaire.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTreeWidget>

#include <QTest>

#include <filesystem>
#include <set>

namespace emporteur::test {
namespace {

constexpr std::uint32_t kSegment = 100000;
const std::string kCheminMaj = "/maj/maj62.exe";
const std::string kCheminNotes = "/maj/notes62.txt";

class Telechargement : public BancLivret {
  protected:
    void SetUp() override {
        BancLivret::SetUp();
        maj = OctetsReproductibles(450000, 7);
        notes = OctetsReproductibles(120000, 8);
        serveur.AjouterFichier(kCheminMaj, maj);
        serveur.AjouterFichier(kCheminNotes, notes);
        std::string ingredients = "2.1.0.0\n";
        ingredients += Ligne("maj62", "maj62.exe", "MiseAJour62.exe", maj);
        ingredients += Ligne("notes62", "notes62.txt", "notes62.txt", notes);
        serveur.AjouterFichier(kDossierCatalogue + "RecettesOrthalis",
                               "2.1.0.0\n ver=\"6.1.0.12\" produit=\"Orthalis 6.2\" "
                               "verMaj=\"6.2.0.3\" titre=\"Mises à jour\" des=\"De 6.1 à 6.2\" "
                               "cles=\"maj62* notes62\"\n");
        serveur.AjouterFichier(kDossierCatalogue + "IngredientsOrthalis", ingredients);
        serveur.AjouterFichier(kDossierCatalogue + "IngredientsBoutique", kBoutique6);
    }
    // La ligne d'ingrédient d'un fichier servi, avec sa vraie liste CRC.
    std::string Ligne(const std::string& cle, const std::string& distant, const std::string& local,
                      const std::string& contenu) {
        const std::string chemin = env.Racine() / distant;
        EcrireFichier(chemin, contenu);
        ListeCrc liste;
        std::string erreur;
        EXPECT_TRUE(CalculerListeCrc(chemin, kSegment, liste, erreur)) << erreur;
        return "cle=\"" + cle + "\" fichierdistant=\"" + distant + "\" fichierlocal=\"" + local +
               "\" site=\"" + serveur.Hote() + "\" rep=\"maj\" taille=\"" +
               std::to_string(contenu.size()) + "\" tailleseg=\"" + std::to_string(kSegment) +
               "\" crc=\"" + liste.Texte + "\"\n";
    }
    // Accueil → liste → destination (dossier `dossier`) → téléchargement.
    void JusquAuTelechargement() {
        e = std::make_unique<Execution>(ModeExecution::Ordinaire);
        ASSERT_TRUE(e->livret.Preparer());
        e->livret.show();
        ASSERT_TRUE(Suivant(e->livret, fenetres::kPageListeVersion));
        ASSERT_TRUE(Suivant(e->livret, fenetres::kPageDestination));
        e->livret.page(fenetres::kPageDestination)
            ->findChild<QLineEdit*>()
            ->setText(QString::fromStdString(dossier.Chemin()));
        ASSERT_TRUE(Suivant(e->livret, fenetres::kPageTelechargement));
    }
    QWidget* Page(int id) { return e->livret.page(id); }
    std::vector<std::pair<QString, QString>> CompteRendu() {
        std::vector<std::pair<QString, QString>> lignes;
        auto* liste = Page(fenetres::kPageTerminay)->findChild<QTreeWidget*>();
        for (int i = 0; i < liste->topLevelItemCount(); ++i)
            lignes.emplace_back(liste->topLevelItem(i)->text(0), liste->topLevelItem(i)->text(1));
        return lignes;
    }
    bool AttendrePage(int id, int ms = 20000) {
        return Attendre([&] { return e->livret.currentId() == id; }, ms);
    }

    std::string maj, notes;
    DossierTemporaire dossier;
    std::unique_ptr<Execution> e;
};

TEST_F(Telechargement, PropreJusquATerminerQuiLanceLeFichier) {
    JusquAuTelechargement();
    ASSERT_TRUE(AttendrePage(fenetres::kPageTerminay));
    EXPECT_EQ(LireFichier(dossier / "MiseAJour62.exe"), maj);
    EXPECT_EQ(LireFichier(dossier / "notes62.txt"), notes);
    using Lignes = std::vector<std::pair<QString, QString>>;
    EXPECT_EQ(CompteRendu(), (Lignes{{"notes62.txt", "Réussi"}, {"MiseAJour62.exe", "Réussi"}}));
    auto* lancer = Page(fenetres::kPageTerminay)->findChild<QCheckBox*>();
    EXPECT_TRUE(lancer->isChecked() && lancer->isEnabled());
    EXPECT_EQ(e->livret.button(QWizard::CancelButton)->text(), "Fermer");
    EXPECT_FALSE(e->livret.button(QWizard::CancelButton)->isEnabled());

    // Terminer : le fichier à lancer part vers l'interface, puis la fenêtre est cherchée.
    e->livret.button(QWizard::FinishButton)->click();
    EXPECT_TRUE(Attendre([&] { return !e->livret.isVisible(); }));
    EXPECT_EQ(e->livret.result(), QDialog::Accepted);
    EXPECT_EQ(e->ui.ouverts, std::vector<std::string>{dossier / "MiseAJour62.exe"});
    EXPECT_EQ(e->ui.premierPlan, std::vector<std::string>{"Mise à jour d'Orthalis"});
}

TEST_F(Telechargement, UnSegmentAbimeUneFoisEstRepare) {
    serveur.Corrompre(kCheminMaj, 150000, 150010, 1);
    JusquAuTelechargement();
    ASSERT_TRUE(AttendrePage(fenetres::kPageTerminay));
    EXPECT_EQ(LireFichier(dossier / "MiseAJour62.exe"), maj);
    EXPECT_EQ(CompteRendu().back().second, "Réussi");
    const auto journal =
        Page(fenetres::kPageTelechargement)->findChild<QPlainTextEdit*>()->toPlainText();
    EXPECT_TRUE(journal.contains("Téléchargement corrompu")) << journal.toStdString();
}

TEST_F(Telechargement, UnEchecEstAnnonceUneFoisPuisSuivantMeneALaFin) {
    serveur.RepondreStatut(kCheminNotes, 404);
    automate.RepondreBoite("Erreur lors du téléchargement :", Reponse::Ok);
    JusquAuTelechargement();
    ASSERT_TRUE(Attendre([&] { return automate.EnAttente() == 0; }, 20000));
    auto* page = Page(fenetres::kPageTelechargement);
    EXPECT_TRUE(Attendre([&] { return e->livret.button(QWizard::CommitButton)->isEnabled(); }));
    EXPECT_EQ(e->livret.currentId(), fenetres::kPageTelechargement); // le journal reste en vue
    EXPECT_FALSE(page->findChild<QPlainTextEdit*>()->toPlainText().isEmpty());
    ASSERT_TRUE(Suivant(e->livret, fenetres::kPageTerminay));
    EXPECT_EQ(CompteRendu().front(), std::make_pair(QString("notes62.txt"), QString("Échec")));
    EXPECT_FALSE(Page(fenetres::kPageTerminay)->findChild<QCheckBox*>()->isEnabled());
    EXPECT_EQ(automate.Vues().size(), 1u); // une seule annonce
}

TEST_F(Telechargement, LesBarresEtLesLibellesBougentPendantLeTransfert) {
    serveur.Ralentir(kCheminMaj, 8192, std::chrono::milliseconds(10));
    JusquAuTelechargement();
    auto* page = Page(fenetres::kPageTelechargement);
    auto* total = page->findChild<QProgressBar*>("total");
    auto* taille = page->findChild<QLabel*>("taille");
    std::vector<std::pair<int, QString>> releves;
    while (e->livret.currentId() == fenetres::kPageTelechargement && releves.size() < 200) {
        QTest::qWait(100);
        releves.emplace_back(total->value(), taille->text());
    }
    ASSERT_GE(releves.size(), 5u);
    std::set<int> pourcentages;
    std::set<QString> tailles;
    for (const auto& [p, t] : releves) {
        pourcentages.insert(p);
        tailles.insert(t);
    }
    EXPECT_GE(pourcentages.size(), 3u);
    EXPECT_GE(tailles.size(), 3u);
    for (std::size_t i = 1; i < releves.size(); ++i)
        EXPECT_GE(releves[i].first, releves[i - 1].first); // le total ne recule jamais
    EXPECT_TRUE(
        taille->text().startsWith(QString::fromUtf8("Taille des segments restants\u00A0:")));
    ASSERT_TRUE(AttendrePage(fenetres::kPageTerminay));
}

TEST_F(Telechargement, AnnulerPendantLeTransfertGardeLesSegmentsVerifies) {
    serveur.Ralentir(kCheminMaj, 4096, std::chrono::milliseconds(20));
    JusquAuTelechargement();
    ASSERT_TRUE(Attendre([&] { return std::filesystem::exists(dossier / "MiseAJour62.exe.0"); }));
    auto* page = static_cast<fenetres::PageTelechargement*>(Page(fenetres::kPageTelechargement));
    const auto debut = std::chrono::steady_clock::now();
    e->livret.button(QWizard::CancelButton)->click();
    EXPECT_TRUE(Attendre([&] { return !e->livret.isVisible(); }));
    EXPECT_LT(std::chrono::steady_clock::now() - debut, std::chrono::seconds(10));
    EXPECT_FALSE(page->FilActif());
    EXPECT_TRUE(LireFichier(dossier / "MiseAJour62.exe.0") == maj.substr(0, kSegment));
    EXPECT_FALSE(std::filesystem::exists(dossier / "MiseAJour62.exe"))
        << Page(fenetres::kPageTelechargement)
               ->findChild<QPlainTextEdit*>()
               ->toPlainText()
               .toStdString();
}

TEST_F(Telechargement, FichiersDejaCompletsSansTransfert) {
    EcrireFichier(dossier / "MiseAJour62.exe", maj);
    EcrireFichier(dossier / "notes62.txt", notes);
    JusquAuTelechargement();
    serveur.OublierRequetes();
    ASSERT_TRUE(AttendrePage(fenetres::kPageTerminay, 3000));
    EXPECT_EQ(serveur.Requetes(kCheminMaj) + serveur.Requetes(kCheminNotes), 0);
    EXPECT_EQ(Page(fenetres::kPageTelechargement)->findChild<QProgressBar*>("total")->value(), 100);
    EXPECT_EQ(LireFichier(dossier / "MiseAJour62.exe"), maj);
}

} // namespace
} // namespace emporteur::test
