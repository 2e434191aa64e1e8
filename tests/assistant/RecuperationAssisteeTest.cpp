#include "assistant/RecuperationAssistee.h"
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

using test::FinProcessus;

const std::string kDossier = "/telecharger/assistants/Win/";
const std::string kRecettes = kDossier + "RecettesOrthalis";
const std::string kIngredients = kDossier + "IngredientsOrthalis";
const std::string kBoutique = kDossier + "IngredientsBoutique";
const std::string kListe = "/ingredients.php";
const std::string kSite = "site.mervane.test";

const char* const kTexteSiteInaccessible =
    "Un problème empêche d’accéder au site de Mervane.\n\nVeuillez réessayer plus tard ou nous "
    "contacter.";
const char* const kTexteTropAncien =
    "Cet Emporteur est trop ancien. Souhaitez-vous télécharger le plus récent?";

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

class RecuperationAssistee : public ::testing::Test {
  protected:
    void Servir(const std::string& recettes = kRecettesCp1252,
                const std::string& ingredients = kIngredientsCp1252,
                const std::string& boutique = kBoutiqueCp1252) {
        serveur.AjouterFichier(kRecettes, recettes);
        serveur.AjouterFichier(kIngredients, ingredients);
        serveur.AjouterFichier(kBoutique, boutique);
    }
    // L'appel doit finir le processus avec le code 0.
    template <typename F> void AttendreFin(F&& appel) {
        try {
            appel();
            ADD_FAILURE() << "le processus aurait dû se terminer";
        } catch (const FinProcessus& fin) {
            EXPECT_EQ(fin.code, 0);
        }
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

TEST_F(RecuperationAssistee, RepliSurLeNavigateurAvecLaVersionInstallee) {
    // La description attendue est celle que le transport laisse pour ce même échec.
    test::VariableTemporaire mort("EMPORTEUR_SERVEUR",
                                  "127.0.0.1:" + std::to_string(test::PortFerme()));
    std::string description;
    ASSERT_FALSE(ChargerTexte(AccesDuContexte(ctx), HoteServeur(), "telecharger/assistants/Win",
                              "RecettesOrthalis", description, kCapaciteCatalogue));
    ASSERT_FALSE(description.empty());

    test::InstallerProduit(env);
    DetecterVersionInstallee(ctx);
    ui.reponses = {Reponse::Oui};
    AttendreFin([&] { RepondreCatalogue(ctx, RecupererCatalogue(ctx)); });
    const auto boites = ui.Appels("BoiteMessage");
    ASSERT_EQ(boites.size(), 1u);
    EXPECT_EQ(boites[0].texte,
              "Un problème empêche d’accéder au site de Mervane.\n\nDésirez-vous télécharger le "
              "fichier avec votre fureteur Web?\n\nOrthalis 6.1 (build 1234) est installé sur "
              "votre disque dur\n\nDétails à propos de l’erreur :\nErreur à la lecture du fichier "
              "de configuration :\n" +
                  description);
    EXPECT_EQ(boites[0].titre, "Emporteur");
    EXPECT_EQ(boites[0].style, MB_ICONHAND | MB_YESNO);
    const auto ouverts = ui.Appels("Ouvrir");
    ASSERT_EQ(ouverts.size(), 1u);
    EXPECT_EQ(ouverts[0].texte, "http://" + kSite + "/maj_win_direct.php?v=6.1.0.12");
}

TEST_F(RecuperationAssistee, RepliSansProduitEtReponseNon) {
    DetecterVersionInstallee(ctx);
    ui.reponses = {Reponse::Non};
    AttendreFin([&] { ProposerFureteur(ctx, "détail"); });
    ASSERT_EQ(ui.Appels("BoiteMessage").size(), 1u);
    EXPECT_NE(ui.Appels("BoiteMessage")[0].texte.find(
                  "\n\naucune détectée est installé sur votre disque dur\n\nDétails à propos de "
                  "l’erreur :\ndétail"),
              std::string::npos);
    EXPECT_TRUE(ui.Appels("Ouvrir").empty());

    ui.reponses = {Reponse::Oui};
    AttendreFin([&] { ProposerFureteur(ctx, "détail"); });
    ASSERT_EQ(ui.Appels("Ouvrir").size(), 1u);
    EXPECT_EQ(ui.Appels("Ouvrir")[0].texte, "http://" + kSite + "/maj_win_direct.php?v=0.0.0.0");

    OuvrirBoutique(ctx);
    EXPECT_EQ(ui.Appels("Ouvrir").back().texte, "http://" + kSite + "/boutique.php");
}

TEST_F(RecuperationAssistee, LeMandataireMemoriseEstCeluiQuiAMarche) {
    // Un mandataire par lequel rien n'arrive est oublié, sans rien montrer en mode discret.
    Servir();
    ctx.ModeDiscret = true;
    ctx.Connexion = {"127.0.0.1", test::PortFerme()};
    test::MemoriserProxy("ancien", 3128);
    EXPECT_FALSE(RepondreCatalogue(ctx, RecupererCatalogue(ctx)));
    EXPECT_TRUE(ui.Appels().empty());
    std::string memorise;
    std::uint32_t port = 99;
    ASSERT_TRUE(test::LireProxyMemorise(memorise, port));
    EXPECT_EQ(memorise, "");
    EXPECT_EQ(port, 0u);
    EXPECT_EQ(serveur.Requetes(), 0);

    // Par un vrai mandataire qui relaie, il reste mémorisé.
    test::MandataireTinyproxy mandataire;
    ctx.Connexion = {"127.0.0.1", mandataire.Port()};
    ASSERT_TRUE(RepondreCatalogue(ctx, RecupererCatalogue(ctx)));
    ASSERT_TRUE(test::LireProxyMemorise(memorise, port));
    EXPECT_EQ(memorise, "127.0.0.1");
    EXPECT_EQ(port, static_cast<std::uint32_t>(mandataire.Port()));
    EXPECT_EQ(serveur.Requetes(), 3);

    // LireBoutiqueSeule : un échec laisse le mandataire tel qu'enregistré avant.
    serveur.RepondreStatut(kBoutique, 500);
    std::string boutique = "inchangé";
    EXPECT_FALSE(LireBoutiqueSeule(ctx, boutique));
    EXPECT_EQ(boutique, "inchangé");
    ASSERT_TRUE(test::LireProxyMemorise(memorise, port));
    EXPECT_EQ(memorise, "127.0.0.1");
    EXPECT_TRUE(ui.Appels().empty());
}

TEST_F(RecuperationAssistee, FormatTropRecentUneSeuleQuestionEtInterpretationImpossible) {
    Servir("2.2.0.0\n ver=\"1\" cles=\"maj62\"\n");
    ui.reponses = {Reponse::Non};
    EXPECT_FALSE(RepondreCatalogue(ctx, RecupererCatalogue(ctx)));
    EXPECT_TRUE(ctx.TropAncien);
    ASSERT_EQ(ui.Appels().size(), 1u) << Boites();
    EXPECT_EQ(ui.Appels()[0].texte, kTexteTropAncien);
    EXPECT_EQ(ui.Appels()[0].style, MB_ICONHAND | MB_YESNO);

    // Une clé qui ne nomme aucun ingrédient : repli sur le navigateur.
    ctx.TropAncien = false;
    serveur.AjouterFichier(kRecettes, "2.1.0.0\n ver=\"1\" cles=\"inconnue\"\n");
    serveur.AjouterFichier(kIngredients, "2.1.0.0\n");
    AttendreFin([&] { RepondreCatalogue(ctx, RecupererCatalogue(ctx)); });
    EXPECT_NE(
        ui.Appels("BoiteMessage")
            .back()
            .texte.find("Détails à propos de l’erreur :\nErreur à l’interprétation du fichier de "
                        "configuration."),
        std::string::npos);

    // En mode discret, rien n'est montré.
    const auto avant = ui.Appels().size();
    ctx.ModeDiscret = true;
    EXPECT_FALSE(RepondreCatalogue(ctx, RecupererCatalogue(ctx)));
    EXPECT_EQ(ui.Appels().size(), avant);
}

TEST_F(RecuperationAssistee, UneFinDeProcessusQuiRevientArreteLaRecuperation) {
    // Le frontal graphique quitte sa boucle et revient : rien ne suit la fin demandée.
    test::VariableTemporaire mort("EMPORTEUR_SERVEUR",
                                  "127.0.0.1:" + std::to_string(test::PortFerme()));
    ui.terminerRevient = true;
    ui.reponses = {Reponse::Non};
    EXPECT_FALSE(RepondreCatalogue(ctx, RecupererCatalogue(ctx)));
    ASSERT_FALSE(ui.Appels().empty());
    EXPECT_EQ(ui.Appels().back().operation, "TerminerProcessus");
    EXPECT_EQ(ui.Appels("TerminerProcessus").size(), 1u);
    EXPECT_TRUE(ctx.Recettes.empty());
}

TEST_F(RecuperationAssistee, MiseANiveauRefuseeParLeServeur) {
    serveur.RepondreStatut(kListe, 505);
    ui.reponses = {Reponse::Non};
    EXPECT_FALSE(RepondreCatalogueMiseANiveau(ctx, RecupererCatalogueMiseANiveau(ctx)));
    ASSERT_EQ(ui.Appels().size(), 1u) << Boites();
    EXPECT_EQ(ui.Appels()[0].texte, kTexteTropAncien);
    EXPECT_TRUE(ctx.TropAncien);

    serveur.RepondreStatut(kListe, 404);
    EXPECT_FALSE(RepondreCatalogueMiseANiveau(ctx, RecupererCatalogueMiseANiveau(ctx)));
    ASSERT_EQ(ui.Appels().size(), 2u);
    EXPECT_EQ(ui.Appels()[1].texte, kTexteSiteInaccessible);
    EXPECT_EQ(ui.Appels()[1].titre, "Emporteur");
    EXPECT_EQ(ui.Appels()[1].style, MB_OK);

    // Format trop récent dans la liste : l'offre, puis le message d'interprétation.
    serveur.Reparer(kListe);
    serveur.AjouterFichier(kListe, "3.0.0.0\ncle=\"a\" des=\"A\"\n");
    ui.reponses = {Reponse::Non};
    EXPECT_FALSE(RepondreCatalogueMiseANiveau(ctx, RecupererCatalogueMiseANiveau(ctx)));
    ASSERT_EQ(ui.Appels().size(), 4u);
    EXPECT_EQ(ui.Appels()[2].texte, kTexteTropAncien);
    EXPECT_EQ(ui.Appels()[3].texte, "Erreur à l’interprétation du fichier de configuration.");

    // Une liste qui remplirait le tampon serait tronquée : refusée.
    serveur.AjouterFichier(kListe, "2.1.0.0\n" + std::string(kCapaciteCatalogue, '#'));
    EXPECT_FALSE(RepondreCatalogueMiseANiveau(ctx, RecupererCatalogueMiseANiveau(ctx)));
    EXPECT_EQ(ui.Appels().back().texte, kTexteSiteInaccessible);

    // Serveur injoignable : le même message.
    test::VariableTemporaire mort("EMPORTEUR_SERVEUR",
                                  "127.0.0.1:" + std::to_string(test::PortFerme()));
    EXPECT_FALSE(RepondreCatalogueMiseANiveau(ctx, RecupererCatalogueMiseANiveau(ctx)));
    EXPECT_EQ(ui.Appels().back().texte, kTexteSiteInaccessible);
}

TEST_F(RecuperationAssistee, LOffreDUnEmporteurPlusRecentOuvreSurOuiSeulement) {
    struct Cas {
        Reponse reponse;
        std::size_t ouvertures;
    };
    for (const Cas c : {Cas{Reponse::Oui, 1}, Cas{Reponse::Non, 0}}) {
        test::InterfaceEnregistreuse ui;
        ContexteTelechargement contexte{ModeExecution::Ordinaire, ui};
        ui.reponses = {c.reponse};
        ProposerNouvelEmporteur(contexte);
        EXPECT_TRUE(contexte.TropAncien);
        const auto boites = ui.Appels("BoiteMessage");
        ASSERT_EQ(boites.size(), 1u);
        EXPECT_EQ(boites[0].texte, kTexteTropAncien);
        EXPECT_EQ(boites[0].titre, "Emporteur");
        EXPECT_EQ(boites[0].style, MB_ICONHAND | MB_YESNO);
        const auto ouverts = ui.Appels("Ouvrir");
        ASSERT_EQ(ouverts.size(), c.ouvertures);
        if (c.ouvertures) {
            EXPECT_EQ(ouverts[0].texte,
                      "http://" + kSite + "/telecharger/assistants/Emporteur.exe");
        }
    }
}

} // namespace
} // namespace emporteur
