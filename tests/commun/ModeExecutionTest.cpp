#include "commun/ModeExecution.h"
#include "commun/ContexteTelechargement.h"
#include "outils/InterfaceEnregistreuse.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace emporteur {
namespace {

TEST(ClasserLigneCommande, ComparaisonExacteDeToute_LaLigne) {
    EXPECT_EQ(ClasserLigneCommande("/a"), ModeExecution::OutilCrc);
    EXPECT_EQ(ClasserLigneCommande("MajDiscrete"), ModeExecution::MajDiscrete);
    EXPECT_EQ(ClasserLigneCommande("MajPlusMan"), ModeExecution::MajPlusMan);
    EXPECT_EQ(ClasserLigneCommande(""), ModeExecution::Ordinaire);
    EXPECT_EQ(ClasserLigneCommande("majdiscrete"), ModeExecution::Ordinaire);
    EXPECT_EQ(ClasserLigneCommande("/A"), ModeExecution::Ordinaire);
    EXPECT_EQ(ClasserLigneCommande("/a "), ModeExecution::Ordinaire);
    EXPECT_EQ(ClasserLigneCommande("/a fichier"), ModeExecution::Ordinaire);
    EXPECT_EQ(ClasserLigneCommande("MajDiscrete "), ModeExecution::Ordinaire);
}

TEST(ClasserLigneCommande, OutilCrcSurSlashAEnTouteCasseSeulement) {
    for (const auto& [ligne, outil] : std::vector<std::pair<std::string, bool>>{{"/a", true},
                                                                                {"/A", true},
                                                                                {"/a ", false},
                                                                                {"/A x", false},
                                                                                {"a", false},
                                                                                {"", false}})
        EXPECT_EQ(EstOutilCrc(ligne), outil) << ligne;
}

TEST(ClasserLigneCommande, ArgumentsJointsParUnBlanc) {
    const char* argv[] = {"emporteur", "/a", "x"};
    EXPECT_EQ(LigneCommande(3, argv), "/a x");
    EXPECT_EQ(ClasserLigneCommande(LigneCommande(3, argv)), ModeExecution::Ordinaire);
    EXPECT_EQ(LigneCommande(1, argv), "");
}

TEST(ContexteTelechargement, ValeursInitiales) {
    test::InterfaceEnregistreuse ui;
    {
        ContexteTelechargement ctx(ModeExecution::MajDiscrete, ui);
        EXPECT_TRUE(ctx.ModeDiscret);
        EXPECT_EQ(ctx.IndiceChoisi, 0);
        EXPECT_EQ(ctx.MajeurBoutique, -1);
        EXPECT_TRUE(ctx.DemanderUneFois);
        EXPECT_FALSE(ctx.TropAncien);
        EXPECT_EQ(ctx.Connexion.Port, 80);
        EXPECT_TRUE(ctx.Connexion.Serveur.empty());
        EXPECT_EQ(ctx.RecetteChoisie(), nullptr);
    }
    ContexteTelechargement plusMan(ModeExecution::MajPlusMan, ui);
    EXPECT_FALSE(plusMan.ModeDiscret);
}

TEST(EnsembleFichiers, CopiesProfondes) {
    Recette r;
    r.Connexion.Serveur = "cache";
    auto f = std::make_unique<Ingredient>();
    f->NomLocal = "a.exe";
    f->Crcs = {1, 2};
    r.Fichiers.push_back(std::move(f));

    Recette copie = r;
    r.Connexion.Serveur = "autre";
    r.Fichiers[0]->NomLocal = "b.exe";
    r.Fichiers[0]->Crcs.push_back(3);
    EXPECT_EQ(copie.Connexion.Serveur, "cache");
    EXPECT_EQ(copie.Fichiers[0]->NomLocal, "a.exe");
    EXPECT_EQ(copie.Fichiers[0]->Crcs.size(), 2u);

    EnsembleFichiers cible;
    cible.AjouterFichiersDe(copie);
    cible.AjouterFichiersDe(cible);
    ASSERT_EQ(cible.Fichiers.size(), 2u);
    EXPECT_NE(cible.Fichiers[0].get(), copie.Fichiers[0].get());
    EXPECT_EQ(cible.Fichiers[1]->NomLocal, "a.exe");
}

} // namespace
} // namespace emporteur
