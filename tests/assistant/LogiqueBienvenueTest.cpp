#include "assistant/LogiqueBienvenue.h"
#include "foundation/CleRegistre.h"
#include "outils/DossierTemporaire.h"
#include "outils/InterfaceEnregistreuse.h"
#include "outils/ProduitInstalle.h"
#include "outils/ServeurDefaillant.h"

#include <gtest/gtest.h>

namespace emporteur {
namespace {

const std::string kDossier = "/telecharger/assistants/Win/";
const std::string kRecettes = kDossier + "RecettesOrthalis";
const std::string kListe = "/ingredients.php";

// Une mise à jour pour la version installée (6.1.0.12) et une autre pour 5.0.
const std::string kRecettesAvecMaj =
    "2.1.0.0\n"
    " ver=\"5.0.0.1\" produit=\"Orthalis 5.1\" verMaj=\"5.1.0.0\" titre=\"Mises à jour\" "
    "des=\"De 5.0 à 5.1\" cles=\"maj51\"\n"
    " ver=\"6.1.0.12\" produit=\"Orthalis 6.2\" verMaj=\"6.2.0.3\" titre=\"Mises à jour\" "
    "des=\"De 6.1 à 6.2\" cles=\"maj62\"\n";
const std::string kRecettesSansMaj =
    "2.1.0.0\n ver=\"5.0.0.1\" produit=\"Orthalis 5.1\" verMaj=\"5.1.0.0\" titre=\"T\" "
    "des=\"De 5.0 à 5.1\" cles=\"maj51\"\n";
const std::string kIngredients =
    "2.1.0.0\n"
    "cle=\"maj51\" site=\"serveur\" rep=\"maj\" taille=\"10\" tailleseg=\"10\" crc=\"1 \"\n"
    "cle=\"maj62\" site=\"serveur\" rep=\"maj\" taille=\"10\" tailleseg=\"10\" crc=\"2 \"\n";
const std::string kBoutique7 =
    "boutique\ncle=\"Orthalis\" ver=\"7.0.0.1\" produit=\"Orthalis 7\" des=\"Vers 7\"\n";
const std::string kBoutique6 =
    "boutique\ncle=\"Orthalis\" ver=\"6.0.0.1\" produit=\"Orthalis 6\" des=\"Vers 6\"\n";

// L'avis scripté : rend la fin demandée, coche la case si on le lui dit.
class DialogueScripte : public DialogueAvis {
  public:
    FinAvis fin = FinAvis::PlusTard;
    bool cocher = false;
    int appels = 0;
    bool miseAJourVue = false, miseANiveauVue = false;
    ModeExecution modeVu = ModeExecution::Ordinaire;

    FinAvis Afficher(ContexteTelechargement& ctx, bool miseAJour, bool miseANiveau,
                     ModeExecution mode) override {
        ++appels;
        miseAJourVue = miseAJour;
        miseANiveauVue = miseANiveau;
        modeVu = mode;
        ctx.NePlusAviser = cocher;
        return fin;
    }
};

class Bienvenue : public ::testing::Test {
  protected:
    void SetUp() override { test::InstallerProduit(env); }
    void Servir(const std::string& recettes, const std::string& boutique) {
        serveur.AjouterFichier(kRecettes, recettes);
        serveur.AjouterFichier(kDossier + "IngredientsOrthalis", kIngredients);
        serveur.AjouterFichier(kDossier + "IngredientsBoutique", boutique);
    }
    // Une exécution du programme : un contexte et un accueil neufs.
    struct Execution {
        Execution(ModeExecution mode, DernierAvis& avis, DialogueAvis& dialogue, bool connecte)
            : ctx(mode, ui),
              logique(ctx, mode, modeListe, avis, dialogue, [connecte] { return connecte; }) {}
        test::InterfaceEnregistreuse ui;
        ModeExecution modeListe = ModeExecution::MajPlusMan;
        ContexteTelechargement ctx;
        LogiqueBienvenue logique;
    };
    static std::string Valeur(const char* nom) {
        CleRegistre cle;
        std::string texte;
        cle.OuvrirCle(HKEY_CURRENT_USER, kCleTelechargement, KEY_READ);
        cle.LireTexte(nom, texte);
        return texte;
    }

    test::EnvironnementIsole env;
    test::ServeurDefaillant serveur;
    test::VariableTemporaire hote{"EMPORTEUR_SERVEUR", serveur.Hote()};
    test::VariableTemporaire site{"EMPORTEUR_SITE", "site.mervane.test"};
    DialogueScripte dialogue;
};

TEST_F(Bienvenue, Mode1SansConnexionOuSansCatalogueFinitEnSilence) {
    Servir(kRecettesAvecMaj, kBoutique7);
    DernierAvis avis;
    Execution hors(ModeExecution::MajDiscrete, avis, dialogue, false);
    EXPECT_EQ(hors.logique.Suivant(false), ActionBienvenue::Quitter);
    EXPECT_EQ(serveur.Requetes(), 0);
    EXPECT_EQ(hors.ctx.VersionInstallee, "6.1.0.12"); // détectée avant le test de connexion
    EXPECT_TRUE(hors.ui.Appels().empty());

    serveur.RepondreStatut(kRecettes, 404);
    Execution sans(ModeExecution::MajDiscrete, avis, dialogue, true);
    EXPECT_EQ(sans.logique.Suivant(false), ActionBienvenue::Quitter);
    EXPECT_TRUE(sans.ui.Appels().empty());
    EXPECT_EQ(dialogue.appels, 0);
}

TEST_F(Bienvenue, ChaqueFinDeLAvis) {
    Servir(kRecettesAvecMaj, kBoutique7);
    DernierAvis avis;
    {
        // Plus tard, case décochée : rien n'est noté.
        Execution e(ModeExecution::MajDiscrete, avis, dialogue, true);
        EXPECT_EQ(e.logique.Suivant(false), ActionBienvenue::Quitter);
        EXPECT_EQ(dialogue.appels, 1);
        EXPECT_TRUE(dialogue.miseAJourVue);
        EXPECT_TRUE(dialogue.miseANiveauVue);
        EXPECT_EQ(dialogue.modeVu, ModeExecution::MajDiscrete);
        EXPECT_EQ(e.ctx.IndiceChoisi, 1);
        EXPECT_EQ(Valeur("MAJ"), "");
        EXPECT_EQ(Valeur("MAN"), "");
    }
    {
        // OK, case cochée : noté.
        dialogue.cocher = true;
        Execution e(ModeExecution::MajDiscrete, avis, dialogue, true);
        EXPECT_EQ(e.logique.Suivant(false), ActionBienvenue::Quitter);
        EXPECT_EQ(Valeur("MAJ"), "6.2.0.3");
        EXPECT_EQ(Valeur("MAN"), "7");
    }
    {
        // La fin 1 (OK de la plateforme) note toujours.
        Servir(kRecettesSansMaj, kBoutique7);
        dialogue.cocher = false;
        dialogue.fin = FinAvis::Ok;
        Execution e(ModeExecution::MajPlusMan, avis, dialogue, false);
        EXPECT_EQ(e.logique.Suivant(false), ActionBienvenue::Quitter);
        EXPECT_FALSE(dialogue.miseAJourVue);
        EXPECT_EQ(Valeur("MAJ"), "6.1.0.12"); // aucun élément : la version installée
    }
    {
        Servir(kRecettesAvecMaj, kBoutique6);
        dialogue.fin = FinAvis::MiseAJour;
        Execution e(ModeExecution::MajPlusMan, avis, dialogue, false);
        EXPECT_EQ(e.logique.Suivant(false), ActionBienvenue::ListeVersions);
        EXPECT_FALSE(dialogue.miseANiveauVue);
        EXPECT_EQ(e.ctx.IndiceChoisi, 1);
        EXPECT_TRUE(e.ui.Appels().empty());
    }
    {
        Servir(kRecettesAvecMaj, kBoutique7);
        dialogue.fin = FinAvis::MiseANiveau;
        Execution e(ModeExecution::MajDiscrete, avis, dialogue, true);
        EXPECT_EQ(e.logique.Suivant(false), ActionBienvenue::Quitter);
        ASSERT_EQ(e.ui.Appels("Ouvrir").size(), 1u);
        EXPECT_EQ(e.ui.Appels("Ouvrir")[0].texte, "http://site.mervane.test/boutique.php");
    }
    {
        // Une fin inconnue (annulation) : on passe à la page suivante.
        dialogue.fin = FinAvis{7};
        Execution e(ModeExecution::MajDiscrete, avis, dialogue, true);
        EXPECT_EQ(e.logique.Suivant(false), ActionBienvenue::Suivante);
    }
    EXPECT_EQ(Valeur("MAN"), "7");
}

TEST_F(Bienvenue, Mode2SansNouveauteDemandeSIlFautContinuer) {
    Servir(kRecettesSansMaj, kBoutique6);
    DernierAvis avis;
    {
        Execution e(ModeExecution::MajPlusMan, avis, dialogue, false);
        e.ui.reponses = {Reponse::Oui};
        EXPECT_EQ(e.logique.Suivant(false), ActionBienvenue::Suivante);
        EXPECT_EQ(e.ctx.IndiceChoisi, 0);
        EXPECT_EQ(e.modeListe, ModeExecution::Ordinaire);
        ASSERT_EQ(e.ui.Appels().size(), 1u);
        EXPECT_EQ(e.ui.Appels()[0].texte.rfind("Votre version d'Orthalis, Orthalis 6.1 (build "
                                               "1234), est la plus récente.",
                                               0),
                  0u);
        // L'utilisateur revient et refait Suivant : ni question ni nouvelle lecture.
        EXPECT_EQ(e.logique.Suivant(false), ActionBienvenue::Suivante);
        EXPECT_EQ(e.ui.Appels().size(), 1u);
        EXPECT_EQ(serveur.Requetes(kRecettes), 1);
    }
    {
        Execution e(ModeExecution::MajPlusMan, avis, dialogue, false);
        e.ui.reponses = {Reponse::Non};
        EXPECT_EQ(e.logique.Suivant(false), ActionBienvenue::Quitter);
        EXPECT_EQ(e.modeListe, ModeExecution::MajPlusMan);
    }
    {
        // Mode 1 : rien de neuf, rien de montré.
        Execution e(ModeExecution::MajDiscrete, avis, dialogue, true);
        EXPECT_EQ(e.logique.Suivant(false), ActionBienvenue::Quitter);
        EXPECT_TRUE(e.ui.Appels().empty());
    }
    EXPECT_EQ(dialogue.appels, 0);
}

TEST_F(Bienvenue, Mode3MiseANiveauManqueePuisMiseAJourLueUneFois) {
    Servir(kRecettesAvecMaj, kBoutique7);
    serveur.RepondreStatut(kListe, 404);
    DernierAvis avis;
    Execution e(ModeExecution::Ordinaire, avis, dialogue, false);
    EXPECT_EQ(e.logique.Suivant(true), ActionBienvenue::Rester);
    EXPECT_TRUE(e.ctx.ModeMiseANiveau);
    EXPECT_EQ(e.ui.Appels().size(), 1u);
    EXPECT_EQ(serveur.Requetes(kRecettes), 0);

    EXPECT_EQ(e.logique.Suivant(false), ActionBienvenue::Suivante);
    EXPECT_FALSE(e.ctx.ModeMiseANiveau);
    EXPECT_TRUE(e.logique.CatalogueCharge());
    EXPECT_EQ(serveur.Requetes(kRecettes), 1);
    EXPECT_EQ(e.ctx.Recettes.size(), 2u);
    EXPECT_EQ(e.logique.Suivant(false), ActionBienvenue::Suivante);
    EXPECT_EQ(serveur.Requetes(kRecettes), 1);
    EXPECT_EQ(e.ctx.Recettes.size(), 2u);
    EXPECT_EQ(dialogue.appels, 0);

    // La mise à niveau obtenue remplace la liste ; revenir à la mise à jour relit le
    // catalogue ordinaire au lieu d'offrir les fichiers de la mise à niveau.
    serveur.Reparer(kListe);
    serveur.AjouterFichier(kListe, "2.1.0.0\ncle=\"maj51\" des=\"Fichier\"\n");
    EXPECT_EQ(e.logique.Suivant(true), ActionBienvenue::Suivante);
    EXPECT_EQ(e.ctx.IndiceChoisi, 0);
    ASSERT_EQ(e.ctx.Recettes.size(), 2u);
    EXPECT_EQ(e.ctx.Recettes[1]->Description, "Ensemble des fichiers choisis");
    EXPECT_EQ(e.logique.Suivant(false), ActionBienvenue::Suivante);
    EXPECT_EQ(serveur.Requetes(kRecettes), 2);
    ASSERT_EQ(e.ctx.Recettes.size(), 2u);
    EXPECT_EQ(e.ctx.Recettes[1]->Version, "6.1.0.12");
}

TEST_F(Bienvenue, Mode3CatalogueIllisibleFinitLeProgramme) {
    Servir("9.9.9.9\n", kBoutique7);
    DernierAvis avis;
    Execution e(ModeExecution::Ordinaire, avis, dialogue, false);
    e.ui.reponses = {Reponse::Non};
    EXPECT_EQ(e.logique.Suivant(false), ActionBienvenue::Quitter);
    EXPECT_TRUE(e.ctx.TropAncien);
    EXPECT_EQ(e.ui.Appels().size(), 1u);
    EXPECT_FALSE(e.logique.CatalogueCharge());
}

} // namespace
} // namespace emporteur
