#include "assistant/ModeleListeVersions.h"
#include "outils/InterfaceEnregistreuse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace emporteur {
namespace {

const std::string kInstallee = "6.1.0.12";

class ListeVersions : public ::testing::Test {
  protected:
    void Ajouter(const std::string& titre, const std::string& description,
                 std::vector<std::int32_t> tailles = {10'000}, const std::string& version = "") {
        auto r = std::make_unique<Recette>();
        r->Titre = titre;
        r->Description = description;
        r->Version = version;
        for (auto t : tailles) {
            r->Fichiers.push_back(std::make_unique<Ingredient>());
            r->Fichiers.back()->Taille = t;
        }
        ctx.Recettes.push_back(std::move(r));
    }

    test::InterfaceEnregistreuse ui;
    ContexteTelechargement ctx{ModeExecution::Ordinaire, ui};
};

TEST_F(ListeVersions, LesTitresChangeantsOuvrentDesRubriquesEmpilees) {
    ctx.VersionInstallee = kInstallee;
    Ajouter("A", "a1"), Ajouter("A", "a2"), Ajouter("B", "b1", {10'000}, kInstallee);
    const auto m = ConstruireModeleListe(ctx, 500, 0);
    // Rubriques de 34 + 22 × lignes ; la suivante chevauche la précédente de 10.
    ASSERT_EQ(m.rubriques.size(), 2u);
    EXPECT_EQ((std::vector{m.rubriques[0].id, m.rubriques[0].haut, m.rubriques[0].hauteur,
                           m.rubriques[1].id, m.rubriques[1].haut, m.rubriques[1].hauteur}),
              (std::vector{2001, 0, 78, 2002, 68, 56}));
    EXPECT_EQ(m.rubriques[1].titre, "B");
    EXPECT_EQ(m.hauteurContenu, 124);
    ASSERT_EQ(m.lignes.size(), 3u);
    const int attendu[3][5] = {{1234, 0, 22, 34, 0}, {1235, 0, 44, 56, 0}, {1236, 1, 22, 34, 1}};
    for (std::size_t i = 0; i < 3; ++i) {
        const auto& l = m.lignes[i];
        EXPECT_EQ((std::vector{l.id, int(l.rubrique), l.haut, l.bas, int(l.cochee)}),
                  std::vector(attendu[i], attendu[i] + 5));
    }
    EXPECT_EQ(m.positionDerniereCochee, 68 + 34);
}

TEST_F(ListeVersions, TexteDeLigneEtElementsSansLigne) {
    Ajouter("T", "Cinq mille", {5'000});
    Ajouter("T", "Cinq mille un", {5'001});
    Ajouter("T", "", {1'234'567});
    Ajouter("T", "Un million", {1'234'567});
    Ajouter("T", "Sans fichier", {});
    // Plus de 4 Go au total : la somme ne repasse pas par zéro.
    Ajouter("T", "Six milliards", {2'000'000'000, 2'000'000'000, 2'000'000'000});
    std::vector<std::string> textes;
    for (const auto& l : ConstruireModeleListe(ctx, 200, 0).lignes)
        textes.push_back(std::to_string(l.indice) + " " + l.texte);
    EXPECT_EQ(textes, (std::vector<std::string>{"1 Cinq mille un (0,01 mégaoctets)",
                                                "3 Un million (1,23 mégaoctets)",
                                                "5 Six milliards (6000,00 mégaoctets)"}));
}

TEST_F(ListeVersions, TexteDIntroductionSelonLeCheminEtLOffre) {
    const std::string debut = "Votre version actuelle d’Orthalis est : 6.1 (12).\n\n";
    const std::string fin = "\n\nSi désiré, veuillez choisir les éléments à télécharger :";
    const std::tuple<bool, std::int32_t, std::string> cas[] = {
        {false, -1,
         debut + "Aucune mise à jour n’est offerte pour votre version d’Orthalis." + fin},
        {false, 0,
         debut +
             "La mise à jour la plus appropriée à votre version d’Orthalis est présélectionnée." +
             fin},
        {true, 0, "\n\nVeuillez choisir le(s) fichier(s) à télécharger."},
    };
    ctx.VersionAffichee = "6.1 (12)";
    for (const auto& [miseANiveau, indice, attendu] : cas) {
        ctx.ModeMiseANiveau = miseANiveau;
        ctx.IndiceChoisi = indice;
        EXPECT_EQ(ConstruireModeleListe(ctx, 200, 0).introduction, attendu);
    }
}

TEST_F(ListeVersions, MiseANiveauUnSeulCadrePremierCocheSansLeDernierElement) {
    ctx.ModeMiseANiveau = true;
    EXPECT_TRUE(ConstruireModeleListe(ctx, 100, 55).lignes.empty()); // liste vide
    ctx.VersionInstallee = "0.0.0.1";
    Ajouter("Vers 7", "Programme", {10'000}, "0.0.0.0");
    Ajouter("Vers 7", "Modèles", {10'000}, "0.0.0.0");
    Ajouter("Autre titre", "Aide", {10'000}, "0.0.0.0");
    Ajouter("Vers 7", "Ensemble des fichiers choisis", {10'000}, "0.0.0.0");
    const auto m = ConstruireModeleListe(ctx, 100, 55);
    ASSERT_EQ(m.rubriques.size(), 1u);
    EXPECT_EQ((std::vector{m.rubriques[0].id, m.rubriques[0].haut, m.rubriques[0].hauteur,
                           m.gaucheRubriques, m.decalage}),
              (std::vector{1064, 55, 34 + 3 * 22, 30, 0}));
    std::vector<int> ids, cochees;
    for (const auto& l : m.lignes)
        ids.push_back(l.id), cochees.push_back(l.cochee);
    EXPECT_EQ(ids, (std::vector{1234, 1235, 1236}));
    EXPECT_EQ(cochees, (std::vector{1, 0, 0}));
}

TEST_F(ListeVersions, TitreVideEnTeteOuvreUneRubriqueSansTitre) {
    Ajouter("", "Orpheline"), Ajouter("", "Orpheline 2"), Ajouter("A", "a");
    const auto m = ConstruireModeleListe(ctx, 200, 0);
    ASSERT_EQ(m.rubriques.size(), 2u);
    EXPECT_EQ(m.rubriques[0].titre, "");
    EXPECT_EQ(m.lignes.at(1).rubrique, 0u);
    EXPECT_EQ(m.lignes.at(2).rubrique, 1u);
}

// Dix lignes sous un titre : bas de la ligne j = 34 + 22 j, contenu 254.
TEST_F(ListeVersions, LaDernierePreselectionBasseVientAuMilieuDuCadre) {
    const std::tuple<std::vector<int>, int, int> cas[] = {
        {{}, 100, 0},         // rien de présélectionné
        {{3}, 100, 0},        // bas 100 : juste visible
        {{1, 5}, 100, 94},    // la dernière, bas 144, au milieu
        {{5}, 101, 94},       // moitié arrondie vers zéro
        {{9}, 100, 254 - 100} // plafonné : le bas du contenu au bas du cadre
    };
    ctx.VersionInstallee = kInstallee;
    for (const auto& [appropriees, visible, decalage] : cas) {
        ctx.Recettes.clear();
        for (int j = 0; j < 10; ++j)
            Ajouter("A", "v", {10'000},
                    std::count(appropriees.begin(), appropriees.end(), j) ? kInstallee : "");
        EXPECT_EQ(ConstruireModeleListe(ctx, visible, 0).decalage, decalage) << visible;
    }
}

} // namespace
} // namespace emporteur
