#include "catalogue/RecuperationCatalogue.h"
#include "catalogue/VersionInstallee.h"
#include "commun/Hotes.h"
#include "http/ChargerTexte.h"
#include "outils/DossierTemporaire.h"
#include "outils/InterfaceEnregistreuse.h"
#include "outils/MandataireTinyproxy.h"
#include "outils/ProduitInstalle.h"
#include "outils/ServeurDefaillant.h"

#include <gtest/gtest.h>

namespace emporteur {
namespace {

const std::string kDossier = "/telecharger/assistants/Win/";
const std::string kRecettes = kDossier + "RecettesOrthalis";
const std::string kIngredients = kDossier + "IngredientsOrthalis";
const std::string kBoutique = kDossier + "IngredientsBoutique";
const std::string kListe = "/ingredients.php";
const std::string kSite = "site.mervane.test";

// Textes du serveur tels qu'il les envoie : Windows-1252 et CR LF.
const std::string kRecettesCp1252 =
    "2.1.0.0\r\n"
    " ver=\"6.1.0.12\" produit=\"Orthalis 6.2\" verMaj=\"6.2.0.3\" titre=\"Mises \xe0 jour\" "
    "des=\"De 6.1 \xe0 6.2\" cles=\"maj62\"\r\n";
const std::string kIngredientsCp1252 =
    "2.1.0.0\r\ncle=\"maj62\" site=\"serveur\" rep=\"maj\" taille=\"10\" tailleseg=\"10\" "
    "crc=\"1 \"\r\n";
const std::string kBoutiqueCp1252 =
    "boutique\r\ncle=\"Orthalis\" ver=\"7.0.0.1\" produit=\"Orthalis 7\" "
    "des=\"Vers Orthalis 7 \xe9"
    "dition\"\r\n";

class Recuperation : public ::testing::Test {
  protected:
    void Servir(const std::string& recettes = kRecettesCp1252,
                const std::string& ingredients = kIngredientsCp1252,
                const std::string& boutique = kBoutiqueCp1252) {
        serveur.AjouterFichier(kRecettes, recettes);
        serveur.AjouterFichier(kIngredients, ingredients);
        serveur.AjouterFichier(kBoutique, boutique);
    }
    std::string Boites() const {
        std::string tout;
        for (const auto& a : ui.Appels("BoiteMessage"))
            tout += a.texte + "|";
        return tout;
    }

    test::EnvironnementIsole env;
    test::ServeurDefaillant serveur;
    test::VariableTemporaire hote{"EMPORTEUR_SERVEUR", serveur.Hote()};
    test::VariableTemporaire site{"EMPORTEUR_SITE", kSite};
    test::InterfaceEnregistreuse ui;
    ContexteTelechargement ctx{ModeExecution::Ordinaire, ui};
};

TEST_F(Recuperation, TroisTextesDansLOrdreDecodesEtArretAuPremierEchec) {
    Servir();
    std::string r, i, b;
    ASSERT_TRUE(TelechargerConfiguration(ctx, r, i, b));
    EXPECT_EQ(r, "2.1.0.0\n ver=\"6.1.0.12\" produit=\"Orthalis 6.2\" verMaj=\"6.2.0.3\" "
                 "titre=\"Mises à jour\" des=\"De 6.1 à 6.2\" cles=\"maj62\"\n");
    EXPECT_EQ(i.find('\r'), std::string::npos);
    EXPECT_NE(b.find("Vers Orthalis 7 édition"), std::string::npos);
    EXPECT_EQ(serveur.Requetes(kRecettes), 1);
    EXPECT_EQ(serveur.Requetes(kIngredients), 1);
    EXPECT_EQ(serveur.Requetes(kBoutique), 1);

    // Le deuxième texte manque : le troisième n'est pas demandé.
    serveur.OublierRequetes();
    serveur.RepondreStatut(kIngredients, 404);
    ctx.ModeDiscret = true;
    EXPECT_FALSE(TelechargerConfiguration(ctx, r, i, b));
    EXPECT_EQ(serveur.Requetes(kRecettes), 1);
    EXPECT_EQ(serveur.Requetes(kIngredients), 1);
    EXPECT_EQ(serveur.Requetes(kBoutique), 0);
    EXPECT_TRUE(ui.Appels().empty());

    // Le catalogue complet est interprété.
    serveur.Reparer(kIngredients);
    ctx.ModeDiscret = false;
    ASSERT_TRUE(LireCatalogue(ctx).EstLu());
    ASSERT_EQ(ctx.Recettes.size(), 1u);
    EXPECT_EQ(ctx.Recettes[0]->Titre, "Mises à jour");
    EXPECT_EQ(ctx.MajeurBoutique, 7);
}

TEST_F(Recuperation, VerdictsDuCheminDeLaMiseAJourSansRienMontrer) {
    // La description laissée par le transport passe dans le verdict.
    const std::string mort = "127.0.0.1:" + std::to_string(test::PortFerme());
    std::string description;
    ASSERT_FALSE(ChargerTexte(AccesDuContexte(ctx), mort, kDossierCatalogue, "RecettesOrthalis",
                              description, kCapaciteCatalogue));
    struct Cas {
        std::string recettes, ingredients;
        bool serveurMort;
        IssueCatalogue issue;
        std::string details;
        bool tropAncien;
    };
    const Cas cas[] = {
        {kRecettesCp1252, kIngredientsCp1252, true, IssueCatalogue::SiteInaccessible,
         "Erreur à la lecture du fichier de configuration :\n" + description, false},
        {"2.2.0.0\n ver=\"1\" cles=\"maj62\"\n", kIngredientsCp1252, false,
         IssueCatalogue::TropAncien, "", true},
        {"2.1.0.0\n ver=\"1\" cles=\"inconnue\"\n", "2.1.0.0\n", false, IssueCatalogue::Illisible,
         kMessageInterpretation, false},
        {kRecettesCp1252, kIngredientsCp1252, false, IssueCatalogue::Lu, "", false},
    };
    for (const auto& c : cas) {
        Servir(c.recettes, c.ingredients);
        ctx.TropAncien = false;
        ctx.Serveur = c.serveurMort ? mort : "";
        const VerdictCatalogue v = LireCatalogue(ctx);
        EXPECT_EQ(v.Issue, c.issue) << c.recettes;
        EXPECT_EQ(v.Details, c.details);
        EXPECT_EQ(ctx.TropAncien, c.tropAncien);
    }
    EXPECT_TRUE(ui.Appels().empty()) << Boites();
}

TEST_F(Recuperation, LeServeurDuContextePasseAvantLaVariable) {
    // La variable nomme un serveur fermé ; celui du contexte répond.
    Servir();
    test::VariableTemporaire mort("EMPORTEUR_SERVEUR",
                                  "127.0.0.1:" + std::to_string(test::PortFerme()));
    EXPECT_EQ(LireCatalogue(ctx).Issue, IssueCatalogue::SiteInaccessible);
    ctx.Serveur = serveur.Hote();
    EXPECT_TRUE(LireCatalogue(ctx).EstLu());
    EXPECT_EQ(serveur.Requetes(kRecettes), 1);
}

const std::string kListeTroisFichiers =
    "2.1.0.0\r\n"
    "# fichiers de la version 7\r\n"
    "cle=\"dico7\" site=\"serveur\" rep=\"v7\" taille=\"10\" tailleseg=\"10\" crc=\"1 \" "
    "des=\"Dictionnaires\"\r\n"
    "\r\n"
    "cle=\"gram7\" site=\"serveur\" rep=\"v7\" taille=\"10\" tailleseg=\"10\" crc=\"2 \" "
    "des=\"Grammaire \xe9tendue\"\r\n"
    "cle=\"aide7\" site=\"serveur\" rep=\"v7\" taille=\"10\" tailleseg=\"10\" crc=\"3 \" "
    "des=\"Aide\"\r\n";

TEST_F(Recuperation, MiseANiveauQuatreElementsDontLEnsemble) {
    serveur.AjouterFichier(kBoutique, kBoutiqueCp1252);
    serveur.AjouterFichier(kListe, kListeTroisFichiers);
    ASSERT_TRUE(LireCatalogueMiseANiveau(ctx).EstLu()) << Boites();
    EXPECT_EQ(serveur.Requetes(kListe), 1);
    ASSERT_EQ(ctx.Recettes.size(), 4u);
    const char* descriptions[] = {"Dictionnaires", "Grammaire étendue", "Aide",
                                  "Ensemble des fichiers choisis"};
    const char* cles[] = {"dico7", "gram7", "aide7"};
    for (std::size_t n = 0; n < 4; ++n) {
        const Recette& r = *ctx.Recettes[n];
        EXPECT_EQ(r.Description, descriptions[n]);
        EXPECT_EQ(r.Titre, "Vers Orthalis 7 édition");
        EXPECT_EQ(r.Version, "0.0.0.0");
        EXPECT_EQ(r.Produit, "");
        EXPECT_EQ(r.Fichiers.size(), n < 3 ? 1u : 0u);
        if (n < 3 && !r.Fichiers.empty()) {
            EXPECT_EQ(r.Fichiers[0]->NomDistant, cles[n]);
        }
    }
    EXPECT_EQ(ctx.MajeurBoutique, 0); // texte boutique vide à l'interprétation
    EXPECT_TRUE(ui.Appels().empty());

    // Sans texte boutique : le titre par défaut, et la liste est reconstruite.
    serveur.RepondreStatut(kBoutique, 404);
    ASSERT_TRUE(LireCatalogueMiseANiveau(ctx).EstLu());
    ASSERT_EQ(ctx.Recettes.size(), 4u);
    EXPECT_EQ(ctx.Recettes[3]->Titre, "Mise à niveau vers d'Orthalis");
    EXPECT_TRUE(ui.Appels().empty());
}

TEST_F(Recuperation, UnOctetNulFinitLeTexteRecu) {
    // Ce qui suit le NUL n'est jamais offert : ni la deuxième recette, ni l'aide.
    Servir(kRecettesCp1252 + std::string("\0", 1) +
               " ver=\"6.1.0.12\" produit=\"Cach\xe9\" titre=\"T\" des=\"D\" cles=\"maj62\"\r\n",
           kIngredientsCp1252 + std::string("\0", 1) + "cle=\"x\"\r\n");
    std::string r, i, b;
    ASSERT_TRUE(TelechargerConfiguration(ctx, r, i, b));
    EXPECT_EQ(r.find("Cach"), std::string::npos) << r;
    EXPECT_EQ(r.find('\0'), std::string::npos);
    EXPECT_EQ(i, "2.1.0.0\ncle=\"maj62\" site=\"serveur\" rep=\"maj\" taille=\"10\" "
                 "tailleseg=\"10\" crc=\"1 \"\n");
    ASSERT_TRUE(LireCatalogue(ctx).EstLu());
    EXPECT_EQ(ctx.Recettes.size(), 1u);

    const auto nul = kListeTroisFichiers.find("cle=\"aide7\"");
    serveur.AjouterFichier(kListe, kListeTroisFichiers.substr(0, nul) + std::string("\0", 1) +
                                       kListeTroisFichiers.substr(nul));
    ASSERT_TRUE(LireCatalogueMiseANiveau(ctx).EstLu()) << Boites();
    ASSERT_EQ(ctx.Recettes.size(), 3u); // dico7, gram7 et l'ensemble
    EXPECT_EQ(ctx.Recettes[1]->Description, "Grammaire étendue");
}

TEST_F(Recuperation, VerdictsDuCheminDeLaMiseANiveau) {
    struct Cas {
        int statut; // 0 : la liste est servie
        std::string liste;
        IssueCatalogue issue;
        const char* details;
    };
    const Cas cas[] = {
        {505, "", IssueCatalogue::NouvelEmporteur, ""},
        {404, "", IssueCatalogue::SiteInaccessible, kMessageSiteInaccessible},
        {0, "3.0.0.0\ncle=\"a\" des=\"A\"\n", IssueCatalogue::TropAncien, kMessageInterpretation},
        // Une liste qui remplirait le tampon serait tronquée : refusée.
        {0, "2.1.0.0\n" + std::string(kCapaciteCatalogue, '#'), IssueCatalogue::SiteInaccessible,
         kMessageSiteInaccessible},
    };
    for (const auto& c : cas) {
        serveur.Reparer(kListe);
        if (c.statut)
            serveur.RepondreStatut(kListe, c.statut);
        else
            serveur.AjouterFichier(kListe, c.liste);
        const VerdictCatalogue v = LireCatalogueMiseANiveau(ctx);
        EXPECT_EQ(v.Issue, c.issue) << c.statut << c.liste.substr(0, 20);
        EXPECT_EQ(v.Details, c.details);
    }
    EXPECT_TRUE(ctx.TropAncien);
    // Serveur injoignable : le même verdict que le 404.
    ctx.Serveur = "127.0.0.1:" + std::to_string(test::PortFerme());
    EXPECT_EQ(LireCatalogueMiseANiveau(ctx).Issue, IssueCatalogue::SiteInaccessible);
    EXPECT_TRUE(ui.Appels().empty()) << Boites();
}

TEST(RecettesMiseANiveau, LignesConstruites) {
    EXPECT_EQ(RecettesMiseANiveau("2.1.0.0\n# c\n\ncle=\"k\" des=\"D\"\n", "T"),
              "2.1.0.0\n"
              " ver=\"0.0.0.0\" des=\"D\" titre=\"T\" cles=\"k\"\n"
              " ver=\"0.0.0.0\" des=\"Ensemble des fichiers choisis\" titre=\"T\" cles=\"\"\n");
    // Une liste vide garde l'élément d'ensemble.
    EXPECT_EQ(RecettesMiseANiveau("", "T"),
              "2.1.0.0\n ver=\"0.0.0.0\" des=\"Ensemble des fichiers choisis\" titre=\"T\" "
              "cles=\"\"\n");
}

TEST(Selection, PremierElementQuiConvientEtVersionInconnue) {
    test::InterfaceEnregistreuse ui;
    ContexteTelechargement ctx{ModeExecution::Ordinaire, ui};
    for (const char* v : {"6.0.0.1", "6.1.0.12", "6.1.0.12", "6.1.0.120"}) {
        ctx.Recettes.push_back(std::make_unique<Recette>());
        ctx.Recettes.back()->Version = v;
    }
    ctx.VersionInstallee = "6.1.0.12";
    EXPECT_TRUE(TrouverRecetteAppropriee(ctx));
    EXPECT_EQ(ctx.IndiceChoisi, 1);
    EXPECT_FALSE(EstRecetteAppropriee(ctx, 0));
    EXPECT_TRUE(EstRecetteAppropriee(ctx, 1));
    EXPECT_TRUE(EstRecetteAppropriee(ctx, 2));
    EXPECT_FALSE(EstRecetteAppropriee(ctx, 3));
    EXPECT_FALSE(EstRecetteAppropriee(ctx, 4));
    EXPECT_FALSE(EstRecetteAppropriee(ctx, -1));

    ctx.VersionInstallee = "6.1.0";
    EXPECT_FALSE(TrouverRecetteAppropriee(ctx));
    EXPECT_EQ(ctx.IndiceChoisi, -1);

    ctx.VersionInstallee.clear();
    ctx.Recettes.back()->Version.clear();
    ctx.IndiceChoisi = 3;
    EXPECT_FALSE(TrouverRecetteAppropriee(ctx));
    EXPECT_EQ(ctx.IndiceChoisi, -1);
}

} // namespace
} // namespace emporteur
