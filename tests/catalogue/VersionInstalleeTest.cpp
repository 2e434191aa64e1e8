#include "catalogue/VersionInstallee.h"
#include "outils/DossierTemporaire.h"
#include "outils/InterfaceEnregistreuse.h"
#include "outils/ProduitInstalle.h"

#include <gtest/gtest.h>

namespace emporteur {
namespace {

class VersionInstalleeTest : public ::testing::Test {
  protected:
    test::EnvironnementIsole env;
    test::InterfaceEnregistreuse ui;
    ContexteTelechargement ctx{ModeExecution::Ordinaire, ui};
};

TEST_F(VersionInstalleeTest, VersionDeFichierEtLibelleLibre) {
    test::InstallerProduit(env);
    DetecterVersionInstallee(ctx);
    // La version de fichier (6,1,0,12), pas celle du produit (7,3,0,5).
    EXPECT_EQ(ctx.VersionInstallee, "6.1.0.12");
    EXPECT_EQ(ctx.VersionAffichee, "Orthalis 6.1 (build 1234)");
    std::string version, affichee;
    VersionsInstallees(ctx, version, affichee);
    EXPECT_EQ(version, "6.1.0.12");
    EXPECT_EQ(affichee, "Orthalis 6.1 (build 1234)");
}

TEST_F(VersionInstalleeTest, SansProduitOuSansExecutableRienNEstDetecte) {
    // Une détection précédente est entièrement remplacée.
    ctx.VersionInstallee = "1.2.3.4";
    ctx.VersionAffichee = "ancienne";
    DetecterVersionInstallee(ctx);
    EXPECT_EQ(ctx.VersionInstallee, "");
    EXPECT_EQ(ctx.VersionAffichee, "aucune détectée");
    std::string version, affichee;
    VersionsInstallees(ctx, version, affichee);
    EXPECT_EQ(version, "0.0.0.0");
    EXPECT_EQ(affichee, "aucune détectée");

    test::InstallerProduit(env, false);
    ctx.VersionInstallee = "1.2.3.4";
    DetecterVersionInstallee(ctx);
    EXPECT_EQ(ctx.VersionInstallee, "");
    EXPECT_EQ(ctx.VersionAffichee, "aucune détectée");
}

TEST_F(VersionInstalleeTest, ExecutableSansRessourceDeVersion) {
    const std::string dossier = test::InstallerProduit(env);
    test::EcrireFichier(
        dossier + "/Orthal32.exe",
        test::LireFichier(std::string(EMPORTEUR_FIXTURES_VERSION) + "/sans_ressource64.exe"));
    DetecterVersionInstallee(ctx);
    EXPECT_EQ(ctx.VersionInstallee, "");
    EXPECT_EQ(ctx.VersionAffichee, "aucune détectée");
    // Un fichier qui n'est pas un exécutable : rien non plus, sans plantage.
    test::EcrireFichier(dossier + "/Orthal32.exe", "MZ pas un vrai exécutable");
    DetecterVersionInstallee(ctx);
    EXPECT_EQ(ctx.VersionInstallee, "");
}

} // namespace
} // namespace emporteur
