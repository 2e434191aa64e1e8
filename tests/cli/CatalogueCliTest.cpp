#include "outils/DossierTemporaire.h"
#include "outils/Processus.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace emporteur {
namespace {

const std::string kExemples = std::string(EMPORTEUR_SOURCES) + "/exemples/catalogue/";

class CatalogueCli : public ::testing::Test {
  protected:
    test::EnvironnementIsole env;
};

TEST_F(CatalogueCli, ExempleLivreInterpreteEnJson) {
    const auto r = test::ExecuterCli(
        {"catalogue", kExemples + "RecettesOrthalis", kExemples + "IngredientsOrthalis",
         kExemples + "IngredientsBoutique", "--version-installee", "6.1.0.12"});
    ASSERT_EQ(r.code, 0) << r.erreurs;
    const auto j = nlohmann::json::parse(r.sortie);
    EXPECT_TRUE(j["resultat"]);
    EXPECT_FALSE(j["tropAncien"]);
    EXPECT_EQ(j["majeurBoutique"], 7);
    EXPECT_EQ(j["produitBoutique"], "Orthalis 7");
    EXPECT_EQ(j["miseANiveauOfferte"], true);
    ASSERT_EQ(j["recettes"].size(), 3u);
    const auto& f = j["recettes"][0]["fichiers"][0];
    EXPECT_EQ(f["nomLocal"], "MiseAJour62.exe");
    EXPECT_EQ(f["crcs"], nlohmann::json({3735928559u, 305419896u, 2882400001u}));
    EXPECT_EQ(f["aLancer"], true);
    EXPECT_EQ(j["recettes"][2]["fichiers"][0]["crcs"][0], 3735928559u);
    EXPECT_EQ(j["recettes"][0]["dossier"], env.Bureau() + "/Mervane_Téléchargement");
}

TEST_F(CatalogueCli, TextesWindows1252EtCrLf) {
    const auto& d = env.Racine();
    test::EcrireFichier(d / "r", "2.1.0.0\r\n ver=\"1\" titre=\"Mises \xe0 jour\" cles=\"k\"\r\n");
    test::EcrireFichier(d / "i", "2.1.0.0\r\ncle=\"k\" taille=\"-1\" tailleseg=\"4294967295\"\r\n");
    const auto r = test::ExecuterCli({"catalogue", d / "r", d / "i"});
    ASSERT_EQ(r.code, 0) << r.erreurs;
    const auto j = nlohmann::json::parse(r.sortie);
    EXPECT_EQ(j["recettes"][0]["titre"], "Mises à jour");
    EXPECT_EQ(j["recettes"][0]["fichiers"][0]["taille"], -1);
    EXPECT_EQ(j["recettes"][0]["fichiers"][0]["tailleSegment"], -1);
    EXPECT_TRUE(j["miseANiveauOfferte"].is_null());
    EXPECT_EQ(j["majeurBoutique"], 0);
}

TEST_F(CatalogueCli, EchecsEtErreursDUsage) {
    const auto& d = env.Racine();
    test::EcrireFichier(d / "r", "2.0.0.0\n");
    test::EcrireFichier(d / "i", "2.1.0.0\n");
    const auto ancien = test::ExecuterCli({"catalogue", d / "r", d / "i"});
    EXPECT_EQ(ancien.code, 1);
    EXPECT_TRUE(nlohmann::json::parse(ancien.sortie)["tropAncien"]);
    EXPECT_NE(ancien.erreurs.find("Cet Emporteur est trop ancien."), std::string::npos);

    test::EcrireFichier(d / "r2", "2.1.0.0\n cles=\"absent\"\n");
    EXPECT_EQ(test::ExecuterCli({"catalogue", d / "r2", d / "i"}).code, 1);

    EXPECT_EQ(test::ExecuterCli({"catalogue", d / "r"}).code, 2);
    EXPECT_EQ(test::ExecuterCli({"catalogue", d / "absent", d / "i"}).code, 2);
    EXPECT_EQ(test::ExecuterCli({"catalogue", d.Chemin(), d / "i"}).code, 2);
    EXPECT_EQ(test::ExecuterCli({"catalogue", d / "r", d / "i", "--inconnue"}).code, 2);
    EXPECT_EQ(test::ExecuterCli({"inconnue"}).code, 2);
}

} // namespace
} // namespace emporteur
