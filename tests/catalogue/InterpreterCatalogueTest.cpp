#include "catalogue/InterpreterCatalogue.h"
#include "catalogue/SyntaxeCatalogue.h"
#include "outils/DossierTemporaire.h"
#include "outils/InterfaceEnregistreuse.h"

#include <gtest/gtest.h>

namespace emporteur {
namespace {

const std::string kRecettes =
    "2.1.0.0\n"
    "# mises à jour de la version 6\n"
    " ver=\"6.1.0.12\" produit=\"Orthalis 6.2\" verMaj=\"6.2.0.3\" titre=\"Mises à jour\" "
    "des=\"Mise à jour de 6.1 à 6.2\" cles=\"maj6162* notes62\"\n";
const std::string kIngredients =
    "2.1.0.0\n"
    "cle=\"maj6162\" fichierdistant=\"maj_6162.exe\" fichierlocal=\"MiseAJour62.exe\" "
    "site=\"serveur\" rep=\"maj/win\" taille=\"2500000\" tailleseg=\"1000000\" "
    "crc=\"3735928559 305419896 2882400001 \"\n"
    "cle=\"notes62\" site=\"serveur\" rep=\"maj/win\" taille=\"1200\" tailleseg=\"1000000\" "
    "crc=\"123456789 \"\n";
const std::string kBoutique = "boutique\n"
                              "cle=\"Orthalis\" ver=\"7.0.0.1\" produit=\"Orthalis 7\" des=\"Mise "
                              "à niveau vers Orthalis 7\"\n";

class Catalogue : public ::testing::Test {
  protected:
    bool Interpreter(std::string recettes, std::string ingredients, std::string boutique = "") {
        return InterpreterCatalogue(ctx, recettes, ingredients, boutique);
    }
    test::EnvironnementIsole env;
    test::InterfaceEnregistreuse ui;
    ContexteTelechargement ctx{ModeExecution::Ordinaire, ui};
};

TEST_F(Catalogue, ExempleComplet) {
    ctx.Connexion = {"cache", 3128};
    ASSERT_TRUE(Interpreter(kRecettes, kIngredients, kBoutique));
    ASSERT_EQ(ctx.Recettes.size(), 1u);
    const Recette& r = *ctx.Recettes[0];
    EXPECT_EQ(r.Version, "6.1.0.12");
    EXPECT_EQ(r.Produit, "Orthalis 6.2");
    EXPECT_EQ(r.VersionMaj, "6.2.0.3");
    EXPECT_EQ(r.Titre, "Mises à jour");
    EXPECT_EQ(r.Description, "Mise à jour de 6.1 à 6.2");
    EXPECT_EQ(r.Dossier, env.Bureau() + test::kSeparateur + "Mervane_Téléchargement");
    EXPECT_EQ(r.Connexion.Serveur, "cache");
    ASSERT_EQ(r.Fichiers.size(), 2u);
    const Ingredient& a = *r.Fichiers[0];
    EXPECT_EQ(a.NomDistant, "maj_6162.exe");
    EXPECT_EQ(a.NomLocal, "MiseAJour62.exe");
    EXPECT_EQ(a.Site, "serveur");
    EXPECT_EQ(a.Repertoire, "maj/win");
    EXPECT_EQ(a.Taille, 2500000);
    EXPECT_EQ(a.TailleSegment, 1000000);
    EXPECT_EQ(a.Crcs, (std::vector<std::uint32_t>{3735928559u, 305419896u, 2882400001u}));
    EXPECT_TRUE(a.ALancer);
    EXPECT_FALSE(a.EstReussi);
    const Ingredient& b = *r.Fichiers[1];
    EXPECT_EQ(b.NomDistant, "notes62");
    EXPECT_EQ(b.NomLocal, "notes62");
    EXPECT_EQ(b.Crcs, (std::vector<std::uint32_t>{123456789u}));
    EXPECT_FALSE(b.ALancer);
    EXPECT_EQ(ctx.MajeurBoutique, 7);
    EXPECT_EQ(ctx.ProduitBoutique, "Orthalis 7");
    ctx.VersionInstallee = "6.1.0.12";
    EXPECT_TRUE(MiseANiveauOfferte(ctx));
    // Les textes sont rendus sans leur première ligne.
    std::string recettes = kRecettes, ingredients = kIngredients;
    InterpreterCatalogue(ctx, recettes, ingredients, kBoutique);
    EXPECT_EQ(recettes.rfind("# mises", 0), 0u);
    EXPECT_EQ(ingredients.rfind("cle=", 0), 0u);
    EXPECT_TRUE(ui.Appels().empty());
}

TEST_F(Catalogue, CrLfEtCommentairesSansEffet) {
    auto crlf = [](std::string s) {
        std::string r;
        for (char c : s)
            r += c == '\n' ? std::string("\r\n") : std::string(1, c);
        RetirerRetoursChariot(r);
        return r;
    };
    ASSERT_TRUE(Interpreter(crlf(kRecettes), crlf(kIngredients + "# fin\n\n")));
    ASSERT_EQ(ctx.Recettes.size(), 1u);
    EXPECT_EQ(ctx.Recettes[0]->Fichiers[1]->NomLocal, "notes62");
}

TEST_F(Catalogue, ClesParPrefixeEtNomsSansFichierDistant) {
    const std::string ingredients =
        "2.1.0.0\n"
        "cle=\"autre\" site=\"s\" taille=\"1\" tailleseg=\"1\" crc=\"1\"\n"
        "cle=\"maj6162\" site=\"s\" taille=\"1\" tailleseg=\"1\" crc=\"2\"\n"
        "cle=\"maj61\" site=\"s\" taille=\"1\" tailleseg=\"1\" crc=\"3\"\n";
    ASSERT_TRUE(Interpreter("2.1.0.0\n ver=\"1\" cles=\"maj61\"\n", ingredients));
    const Ingredient& f = *ctx.Recettes[0]->Fichiers[0];
    EXPECT_EQ(f.NomDistant, "maj6162");
    EXPECT_EQ(f.NomLocal, "maj6162");
    EXPECT_EQ(f.Crcs, std::vector<std::uint32_t>{2});

    // "fichierdistant=" sans "fichierlocal=" : le nom local est le nom distant.
    ASSERT_TRUE(Interpreter("2.1.0.0\n cles=\"k\"\n",
                            "2.1.0.0\ncle=\"k\" fichierdistant=\"d.exe\" taille=\"1\"\n"));
    EXPECT_EQ(ctx.Recettes[0]->Fichiers[0]->NomLocal, "d.exe");
}

TEST_F(Catalogue, ListesDeCrcEtNombres) {
    auto crcs = [&](const std::string& liste) {
        const std::string ing = "2.1.0.0\ncle=\"k\" crc=\"" + liste + "\" taille=\" -1\"\n";
        EXPECT_TRUE(Interpreter("2.1.0.0\ncles=\"k\"\n", ing));
        return ctx.Recettes.at(0)->Fichiers.at(0)->Crcs;
    };
    EXPECT_EQ(crcs("1 2 3 "), crcs("1 2 3"));
    EXPECT_EQ(crcs("1  2"), (std::vector<std::uint32_t>{1, 0, 2}));
    EXPECT_EQ(crcs("3735928559 -559038737 +7 x"),
              (std::vector<std::uint32_t>{3735928559u, 3735928559u, 7, 0}));
    EXPECT_EQ(crcs("4294967296 99999999999"), (std::vector<std::uint32_t>{0, 1215752191u}));
    EXPECT_EQ(ctx.Recettes[0]->Fichiers[0]->Taille, -1);
    EXPECT_EQ(crcs(""), std::vector<std::uint32_t>{});
}

TEST_F(Catalogue, ClesVidesOuInconnues) {
    ASSERT_TRUE(Interpreter("2.1.0.0\n ver=\"1\" cles=\"\"\n", kIngredients));
    EXPECT_TRUE(ctx.Recettes.at(0)->Fichiers.empty());

    // Deux blancs : un élément vide, échec ; la recette précédente reste.
    const std::string deux =
        "2.1.0.0\n ver=\"a\" cles=\"notes62\"\n ver=\"b\" cles=\"maj6162  notes62\"\n";
    EXPECT_FALSE(Interpreter(deux, kIngredients));
    ASSERT_EQ(ctx.Recettes.size(), 1u);
    EXPECT_EQ(ctx.Recettes[0]->Version, "a");

    EXPECT_FALSE(Interpreter("2.1.0.0\n cles=\"inconnu\"\n", kIngredients));
    EXPECT_FALSE(Interpreter("2.1.0.0\n cles=\"*\"\n", kIngredients));
    EXPECT_FALSE(ctx.TropAncien);
    EXPECT_TRUE(ui.Appels().empty());
}

TEST_F(Catalogue, FormatTropRecentLeveTropAncienSansRienMontrer) {
    EXPECT_FALSE(Interpreter("2.0.0.0\n" + kRecettes.substr(8), kIngredients, kBoutique));
    EXPECT_TRUE(ctx.TropAncien);
    EXPECT_TRUE(ctx.Recettes.empty());
    EXPECT_EQ(ctx.MajeurBoutique, 7); // la boutique est lue avant le contrôle

    // Sans saut de ligne, la première ligne est vide.
    ctx.TropAncien = false;
    EXPECT_FALSE(Interpreter(kRecettes, "2.1.0.0"));
    EXPECT_TRUE(ctx.TropAncien);
    // L'offre d'un Emporteur plus récent revient à qui appelle.
    EXPECT_TRUE(ui.Appels().empty());
}

TEST_F(Catalogue, TexteBoutique) {
    const std::string deux =
        "x\n# c\ncle=\"Autre\" ver=\"9.0\"\ncle=\"Orthalis\" ver=\"7.0.0.0\" "
        "produit=\"Orthalis 7\" des=\"Premier\"\n"
        "cle=\"Orthalis\" ver=\"8.0\" produit=\"Orthalis 8\" des=\"Dernier\"\n";
    EXPECT_TRUE(LireBoutique(ctx, deux));
    EXPECT_EQ(ctx.MajeurBoutique, 7);
    EXPECT_EQ(ctx.ProduitBoutique, "Orthalis 7");
    std::string titre;
    EXPECT_TRUE(TitreMiseANiveau(deux, titre));
    EXPECT_EQ(titre, "Dernier");

    // Sans guillemet fermant, la valeur court jusqu'au bout de la ligne.
    EXPECT_TRUE(LireBoutique(ctx, "x\ncle=\"Orthalis\" ver=\"7\" des=\"Sans fin\n"));
    EXPECT_EQ(ctx.MajeurBoutique, 0);
    EXPECT_TRUE(TitreMiseANiveau("x\ncle=\"Orthalis\" des=\"Sans fin\n", titre));
    EXPECT_EQ(titre, "Sans fin");

    ctx.ProduitBoutique = "garde";
    EXPECT_FALSE(LireBoutique(ctx, "x\ncle=\"Orthalis7\" ver=\"9.0\"\n"));
    EXPECT_EQ(ctx.MajeurBoutique, 0);
    EXPECT_EQ(ctx.ProduitBoutique, "garde");
    EXPECT_FALSE(TitreMiseANiveau("", titre));
}

TEST_F(Catalogue, ValeursSansGuillemetFermantDansLesRecettes) {
    EXPECT_EQ(ExtraireValeur("des=\"sans fin", "des="), "");
    EXPECT_EQ(ExtraireValeur("des=\"sans fin", "des=", true), "sans fin");
    EXPECT_EQ(ExtraireValeur("des=", "des="), "");
    EXPECT_EQ(ExtraireValeur("des=X", "des=", true), "");
    EXPECT_EQ(ExtraireValeur("des='a\"", "des="), "a");
    // Une clé écrite dans une valeur antérieure est trouvée là.
    EXPECT_EQ(ExtraireValeur("titre=\"ver=\"x\" ver=\"1\"", "ver="), "x");
}

TEST_F(Catalogue, MiseANiveauOfferteSelonLeMajeurInstalle) {
    auto offerte = [&](const std::string& installee, const std::string& boutique) {
        LireBoutique(ctx, "x\ncle=\"Orthalis\" ver=\"" + boutique + "\"\n");
        ctx.VersionInstallee = installee;
        return MiseANiveauOfferte(ctx);
    };
    EXPECT_FALSE(offerte("6.1.0.12", "6.9.0.0"));
    EXPECT_TRUE(offerte("6.1.0.12", "7.0.0.0"));
    EXPECT_TRUE(offerte("", "1.0.0.0"));
    EXPECT_FALSE(offerte("", "7"));
    EXPECT_TRUE(offerte(".5", "1.0"));
    EXPECT_FALSE(offerte("12.0", "11.9"));
}

} // namespace
} // namespace emporteur
