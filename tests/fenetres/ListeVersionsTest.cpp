// La liste des versions et la destination dans le livret réel : présélection,
// mise à niveau, défilement jusqu'à la présélection, Suivant sans choix.
#include "BancLivret.h"

#include "fenetres/PageListeVersion.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>

namespace emporteur::test {
namespace {

// La liste de mise à niveau : trois fichiers, plus de 5 000 octets chacun.
const std::string kListeMiseANiveau =
    "2.1.0.0\n"
    "cle=\"dico7\" site=\"serveur\" rep=\"v7\" taille=\"2000000\" tailleseg=\"1000000\" "
    "crc=\"1 2 \" des=\"Dictionnaires\"\n"
    "cle=\"gram7\" site=\"serveur\" rep=\"v7\" taille=\"6000\" tailleseg=\"6000\" crc=\"2 \" "
    "des=\"Grammaire\"\n"
    "cle=\"aide7\" site=\"serveur\" rep=\"v7\" taille=\"9000\" tailleseg=\"9000\" crc=\"3 \" "
    "des=\"Aide\"\n";

class ListeVersions : public BancLivret {
  protected:
    QCheckBox* Ligne(int id) {
        return e->livret.page(fenetres::kPageListeVersion)
            ->findChild<QCheckBox*>(QString("ligne%1").arg(id));
    }
    void Ouvrir(ModeExecution mode = ModeExecution::Ordinaire) {
        e = std::make_unique<Execution>(mode);
        ASSERT_TRUE(e->livret.Preparer());
        e->livret.show();
    }
    std::unique_ptr<Execution> e;
};

TEST_F(ListeVersions, ParcoursOrdinaireJusquALaDestination) {
    Servir(kRecettesAvecMaj, kBoutique7);
    Ouvrir();
    ASSERT_TRUE(Suivant(e->livret, fenetres::kPageListeVersion));
    auto* page = e->livret.page(fenetres::kPageListeVersion);
    EXPECT_EQ(page->findChild<QLabel*>("rubrique2001")->text(), "Mises à jour");
    EXPECT_EQ(page->findChild<QLabel*>("rubrique2002")->text(), "Documentation");
    ASSERT_TRUE(Ligne(1234) && Ligne(1235) && Ligne(1236));
    EXPECT_FALSE(Ligne(1234)->isChecked());
    EXPECT_TRUE(Ligne(1235)->isChecked()); // la version installée
    EXPECT_EQ(Ligne(1236)->text(), "Guide d’Orthalis 6.2 (1,23 mégaoctets)");

    // Deux éléments cochés : le premier reçoit les fichiers du second.
    Ligne(1236)->setChecked(true);
    ASSERT_TRUE(Suivant(e->livret, fenetres::kPageDestination));
    EXPECT_EQ(e->ctx.IndiceChoisi, 1);
    ASSERT_EQ(e->ctx.Recettes[1]->Fichiers.size(), 2u);
    const auto* edit = e->livret.page(fenetres::kPageDestination)->findChild<QLineEdit*>();
    EXPECT_EQ(edit->text().toStdString(), e->ctx.Recettes[1]->Dossier);
    EXPECT_NE(edit->text().indexOf("Mervane_Téléchargement"), -1);
}

TEST_F(ListeVersions, SansChoixSuivantAvertitEtLaPageReste) {
    Servir(kRecettesAvecMaj, kBoutique7);
    Ouvrir();
    ASSERT_TRUE(Suivant(e->livret, fenetres::kPageListeVersion));
    Ligne(1235)->setChecked(false);
    automate.RepondreBoite("Aucune mise à jour n’est sélectionnée.", Reponse::Ok);
    e->livret.button(QWizard::CommitButton)->click();
    EXPECT_TRUE(Attendre([&] { return automate.EnAttente() == 0; }));
    EXPECT_EQ(e->livret.currentId(), fenetres::kPageListeVersion);
    EXPECT_TRUE(automate.Inattendues().empty());
}

TEST_F(ListeVersions, MiseANiveauDansLeCadre1064EtRassembleeDansLeDernier) {
    Servir(kRecettesAvecMaj, kBoutique7);
    serveur.AjouterFichier("/ingredients.php", kListeMiseANiveau);
    Ouvrir();
    e->livret.page(fenetres::kPageBienvenue)->findChildren<QRadioButton*>()[1]->click();
    ASSERT_TRUE(Suivant(e->livret, fenetres::kPageListeVersion));
    EXPECT_EQ(serveur.Requetes("/ingredients.php"), 1);
    auto* page =
        static_cast<fenetres::PageListeVersion*>(e->livret.page(fenetres::kPageListeVersion));
    auto* cadre = page->findChild<QGroupBox*>();
    EXPECT_TRUE(cadre->isVisible());
    EXPECT_FALSE(page->Cadre()->isVisible());
    ASSERT_EQ(e->ctx.Recettes.size(), 4u);
    for (int id : {1234, 1235, 1236}) {
        ASSERT_TRUE(Ligne(id)) << id;
        EXPECT_EQ(Ligne(id)->parentWidget(), cadre);
        EXPECT_EQ(Ligne(id)->isChecked(), id == 1234);
    }
    EXPECT_EQ(Ligne(1237), nullptr); // l'ensemble des fichiers choisis n'a pas de ligne
    Ligne(1236)->setChecked(true);
    ASSERT_TRUE(Suivant(e->livret, fenetres::kPageDestination));
    EXPECT_EQ(e->ctx.IndiceChoisi, 3);
    ASSERT_EQ(e->ctx.Recettes[3]->Fichiers.size(), 2u);
    EXPECT_EQ(e->ctx.Recettes[3]->Fichiers[1]->NomDistant, "aide7");
}

// Vingt éléments sous vingt titres ; celui de la version installée est le onzième,
// assez bas pour être caché, assez haut pour que le défilement ne soit pas borné.
std::string VingtElements() {
    std::string recettes = "2.1.0.0\n";
    const auto element = [](int n) {
        return " ver=\"5.0.0." + std::to_string(n) + "\" produit=\"P\" verMaj=\"5\" titre=\"T" +
               std::to_string(n) + "\" des=\"Élément " + std::to_string(n) + "\" cles=\"maj51\"\n";
    };
    for (int n = 0; n < 10; ++n)
        recettes += element(n);
    recettes += " ver=\"6.1.0.12\" produit=\"Orthalis 6.2\" verMaj=\"6.2.0.3\" titre=\"Fin\" "
                "des=\"De 6.1 à 6.2\" cles=\"maj62\"\n";
    for (int n = 11; n < 20; ++n)
        recettes += element(n);
    return recettes;
}

TEST_F(ListeVersions, LaPreselectionSousLeCadreEstAmeneeAuMilieu) {
    Servir(VingtElements(), kBoutique7);
    Ouvrir();
    ASSERT_TRUE(Suivant(e->livret, fenetres::kPageListeVersion));
    auto* page =
        static_cast<fenetres::PageListeVersion*>(e->livret.page(fenetres::kPageListeVersion));
    auto* ligne = Ligne(1234 + 10);
    ASSERT_TRUE(ligne && ligne->isChecked());
    auto* vue = page->Cadre()->viewport();
    EXPECT_TRUE(Attendre([&] { return page->Cadre()->verticalScrollBar()->value() > 0; }));
    // La ligne est visible, près du milieu du cadre.
    const int milieu = ligne->mapTo(vue, ligne->rect().center()).y();
    EXPECT_GT(milieu, 0);
    EXPECT_LT(milieu, vue->height());
    EXPECT_NEAR(milieu, vue->height() / 2, vue->height() / 4);
}

TEST_F(ListeVersions, LaBarreAvanceDesPasDeLaListe) {
    Servir(VingtElements(), kBoutique7);
    Ouvrir();
    ASSERT_TRUE(Suivant(e->livret, fenetres::kPageListeVersion));
    auto* barre =
        static_cast<fenetres::PageListeVersion*>(e->livret.page(fenetres::kPageListeVersion))
            ->Cadre()
            ->verticalScrollBar();
    ASSERT_TRUE(Attendre([&] { return barre->value() > 0; })); // la présélection est placée
    const int max = barre->maximum();
    ASSERT_GT(max / 20, 5); // assez de contenu pour que les pas ne soient pas le minimum
    // Ligne : 1/20 du décalage maximal ; page : 1/10 ; bornés aux extrémités.
    struct Cas {
        int depart;
        QAbstractSlider::SliderAction action;
        int attendu;
    };
    const Cas cas[] = {
        {0, QAbstractSlider::SliderSingleStepAdd, max / 20},
        {0, QAbstractSlider::SliderPageStepAdd, max / 10},
        {max / 2, QAbstractSlider::SliderSingleStepSub, max / 2 - max / 20},
        {max / 2, QAbstractSlider::SliderPageStepSub, max / 2 - max / 10},
        {max - 1, QAbstractSlider::SliderPageStepAdd, max},
        {1, QAbstractSlider::SliderSingleStepSub, 0},
    };
    for (const auto& c : cas) {
        barre->setValue(c.depart);
        barre->triggerAction(c.action);
        EXPECT_EQ(barre->value(), c.attendu) << c.depart << " " << c.action;
    }
}

} // namespace
} // namespace emporteur::test
