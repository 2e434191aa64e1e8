// La séquence « y a-t-il du nouveau ? » contre un vrai serveur : chaque étape
// demandée ou sautée, et ce qu'elle laisse dans le contexte.
#include "assistant/VerificationNouveautes.h"
#include "outils/DossierTemporaire.h"
#include "outils/InterfaceEnregistreuse.h"
#include "outils/ProduitInstalle.h"
#include "outils/ServeurDefaillant.h"

#include <gtest/gtest.h>

namespace emporteur {
namespace {

const std::string kDossier = "/telecharger/assistants/Win/";

class Verification : public ::testing::Test {
  protected:
    Verification() {
        test::InstallerProduit(env);
        serveur.AjouterFichier(kDossier + "RecettesOrthalis",
                               "2.1.0.0\n ver=\"6.1.0.12\" produit=\"P\" verMaj=\"6.2.0.3\" "
                               "titre=\"T\" des=\"D\" cles=\"k\"\n");
        serveur.AjouterFichier(kDossier + "IngredientsOrthalis",
                               "2.1.0.0\ncle=\"k\" site=\"s\" rep=\"r\" taille=\"10\" "
                               "tailleseg=\"10\" crc=\"1 \"\n");
        serveur.AjouterFichier(kDossier + "IngredientsBoutique",
                               "boutique\ncle=\"Orthalis\" ver=\"7.0.0.1\" produit=\"O7\"\n");
        ctx.Serveur = serveur.Hote();
    }

    test::EnvironnementIsole env;
    test::ServeurDefaillant serveur;
    test::InterfaceEnregistreuse ui;
    ContexteTelechargement ctx{ModeExecution::MajPlusMan, ui};
};

TEST_F(Verification, ChaqueEtapeFaiteOuSautee) {
    struct Cas {
        const char* nom;
        bool connexion; // résultat du test de connexion (s'il est fait)
        bool testerConnexion, catalogueCharge, chercherMaj;
        bool attenduConnexion, attenduMaj, attenduNiveau;
        int requetes, indice;
    };
    const Cas cas[] = {
        {"complète", true, false, false, true, true, true, true, 3, 0},
        {"sans connexion", false, true, false, true, false, false, false, 0, 7},
        {"avec connexion", true, true, false, true, true, true, true, 3, 0},
        {"catalogue déjà chargé", true, false, true, true, true, true, true, 0, 0},
        {"assistant ordinaire", true, false, false, false, true, false, true, 3, 7},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        serveur.OublierRequetes();
        ctx.IndiceChoisi = 7;
        EtapesVerification etapes;
        if (c.testerConnexion) etapes.Connexion = [&] { return c.connexion; };
        etapes.CatalogueCharge = c.catalogueCharge;
        etapes.ChercherMiseAJour = c.chercherMaj;
        const Nouveautes n = VerifierNouveautes(ctx, etapes);
        EXPECT_EQ(n.Connexion, c.attenduConnexion);
        EXPECT_EQ(n.MiseAJour, c.attenduMaj);
        EXPECT_EQ(n.MiseANiveau, c.attenduNiveau);
        EXPECT_EQ(n.Verifie(), c.attenduConnexion);
        EXPECT_EQ(serveur.Requetes(), c.requetes);
        EXPECT_EQ(ctx.IndiceChoisi, c.indice);
        EXPECT_EQ(ctx.VersionInstallee, "6.1.0.12"); // détectée dans tous les cas
    }
    EXPECT_TRUE(ui.Appels().empty());
}

TEST_F(Verification, UnCatalogueManqueEstRenduSansRienMontrerNiChercher) {
    serveur.RepondreStatut(kDossier + "IngredientsOrthalis", 404);
    test::MemoriserProxy("ancien", 3128);
    const Nouveautes n = VerifierNouveautes(ctx);
    EXPECT_EQ(n.Catalogue.Issue, IssueCatalogue::SiteInaccessible);
    EXPECT_FALSE(n.Verifie());
    EXPECT_FALSE(n.QuelqueChose());
    EXPECT_EQ(ctx.IndiceChoisi, 0); // rien cherché
    EXPECT_TRUE(ui.Appels().empty());
    // Le mandataire par lequel rien n'est arrivé est oublié.
    std::string memorise = "?";
    std::uint32_t port = 1;
    ASSERT_TRUE(test::LireProxyMemorise(memorise, port));
    EXPECT_EQ(memorise, "");
    EXPECT_EQ(port, 0u);
}

} // namespace
} // namespace emporteur
