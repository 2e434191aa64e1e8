// Lecture des ressources de version sur de vrais exécutables PE32 et PE32+ produits par
// windres et l'éditeur de liens mingw.
#include "foundation/DonneesVersion.h"
#include "foundation/DossiersUtilisateur.h"
#include "foundation/InfoVersion.h"
#include "foundation/Texte.h"
#include "outils/DossierTemporaire.h"

#include <gtest/gtest.h>

#include <string>

namespace emporteur {
namespace {

std::string Fixture(const std::string& nom, int bits) {
    return std::string(EMPORTEUR_FIXTURES_VERSION) + "/" + nom + std::to_string(bits) + ".exe";
}

constexpr int kArchitectures[] = {32, 64};

TEST(InfoVersion, LitLesDeuxVersionsDuBlocFixeEnPe32EtPe32Plus) {
    for (const int bits : kArchitectures) {
        SCOPED_TRACE(bits);
        const InfoVersion info(Fixture("produit", bits));
        EXPECT_EQ(info.VersionFichier, "6,1,0,12");
        EXPECT_EQ(info.VersionProduit, "7,3,0,5");
        EXPECT_EQ(info.MajeurProduit, 7u);
        EXPECT_EQ(info.MineurProduit, 3u);
        EXPECT_EQ(info.Valeur, "");
    }
}

TEST(LireValeurVersion, LitLesValeursDeLaTraductionFrancaiseEnUtf8) {
    for (const int bits : kArchitectures) {
        SCOPED_TRACE(bits);
        const std::string chemin = Fixture("produit", bits);
        std::string valeur = "ancienne";
        EXPECT_TRUE(LireValeurVersion(&chemin, "ProductVersion", valeur, 1024));
        EXPECT_EQ(valeur, "Orthalis 6.1 (build 1234)");
        EXPECT_TRUE(LireValeurVersion(&chemin, "FileDescription", valeur, 1024));
        EXPECT_EQ(valeur, "Correcteur d’orthographe");
        // Les noms se comparent sans égard à la casse, comme sous Windows.
        EXPECT_TRUE(LireValeurVersion(&chemin, "PRODUCTname", valeur, 1024));
        EXPECT_EQ(valeur, "Orthalis");
        EXPECT_FALSE(LireValeurVersion(&chemin, "Inexistante", valeur, 1024));
        EXPECT_EQ(valeur, "");
        EXPECT_FALSE(LireValeurVersion(&chemin, "Product", valeur, 1024));
    }
}

TEST(LireValeurVersion, CoupeAuTamponMoinsUnSansCouperUnCaractere) {
    const std::string chemin = Fixture("produit", 64);
    std::string entiere, coupee;
    ASSERT_TRUE(LireValeurVersion(&chemin, "Comments", entiere, std::string::npos));
    ASSERT_GT(entiere.size(), 1024u);
    // Octets 1022 et 1023 : un "é" qui ne tient pas en entier dans 1023 octets.
    ASSERT_TRUE(LireValeurVersion(&chemin, "Comments", coupee, 1024));
    EXPECT_EQ(coupee.size(), 1022u);
    EXPECT_EQ(coupee, entiere.substr(0, 1022));
    ASSERT_TRUE(LireValeurVersion(&chemin, "Comments", coupee, 1025));
    EXPECT_EQ(coupee, entiere.substr(0, 1024));
    EXPECT_TRUE(EstUtf8Valide(coupee));

    ASSERT_TRUE(LireValeurVersion(&chemin, "FileDescription", coupee, 14));
    EXPECT_EQ(coupee, "Correcteur d"); // l'apostrophe ’ fait trois octets
    ASSERT_TRUE(LireValeurVersion(&chemin, "FileDescription", coupee, 16));
    EXPECT_EQ(coupee, "Correcteur d’");
    EXPECT_TRUE(LireValeurVersion(&chemin, "ProductName", coupee, 1));
    EXPECT_EQ(coupee, "");
    EXPECT_TRUE(LireValeurVersion(&chemin, "ProductName", coupee, 0));
    EXPECT_EQ(coupee, "");
}

TEST(InfoVersion, CleExpliciteInterrogeLaTableDemandee) {
    const std::string chemin = Fixture("produit", 32);
    EXPECT_EQ(InfoVersion(chemin, "040C04E4", "ProductName").Valeur, "Orthalis");
    EXPECT_EQ(InfoVersion(chemin, "040c04e4", "productname").Valeur, "Orthalis");
    // Valeur coupée à 99 octets, terminateur compris dans les 100.
    const InfoVersion longue(chemin, "040C04E4", "Comments");
    EXPECT_EQ(longue.Valeur.size(), kTailleTexteVersion - 1);
    EXPECT_EQ(longue.Valeur.substr(0, 12), "Commentaire ");

    const InfoVersion autreLangue(chemin, "040904B0", "ProductName");
    EXPECT_EQ(autreLangue.Valeur, "");
    EXPECT_EQ(autreLangue.VersionFichier, "6,1,0,12");
    EXPECT_EQ(InfoVersion(chemin, "", "ProductName").Valeur, "");
    EXPECT_EQ(InfoVersion(chemin, "040C04E4", "").Valeur, "");
}

TEST(LireValeurVersion, SeuleLaPremiereTraductionEstLue) {
    for (const int bits : kArchitectures) {
        SCOPED_TRACE(bits);
        const std::string chemin = Fixture("traductions", bits);
        std::string valeur;
        // La table 040904B0 vient en second dans le fichier mais en premier dans la liste.
        EXPECT_TRUE(LireValeurVersion(&chemin, "ProductName", valeur, 1024));
        EXPECT_EQ(valeur, "Premier");
        EXPECT_FALSE(LireValeurVersion(&chemin, "SeulementSecond", valeur, 1024));
        EXPECT_EQ(valeur, "");
        EXPECT_EQ(InfoVersion(chemin, "040C04E4", "SeulementSecond").Valeur,
                  "présent sous la seconde paire");
        EXPECT_EQ(InfoVersion(chemin).VersionFichier, "1,2,3,4");
    }
}

TEST(InfoVersion, FichierSansInformationDeVersionDonneUnEnregistrementVide) {
    test::DossierTemporaire dossier;
    test::EcrireFichier(dossier / "texte.exe", "MZ mais pas davantage");
    const std::string chemins[] = {Fixture("sans_ressource", 32),
                                   Fixture("sans_ressource", 64),
                                   Fixture("sans_version", 32),
                                   Fixture("sans_version", 64),
                                   dossier / "texte.exe",
                                   dossier / "absent.exe",
                                   dossier.Chemin()};
    for (const auto& chemin : chemins) {
        SCOPED_TRACE(chemin);
        const InfoVersion info(chemin, "040C04E4", "ProductName");
        EXPECT_EQ(info.VersionFichier, "");
        EXPECT_EQ(info.VersionProduit, "");
        EXPECT_EQ(info.Valeur, "");
        EXPECT_EQ(info.MajeurProduit, 0u);
        EXPECT_EQ(info.MineurProduit, 0u);
        std::string valeur = "ancienne";
        EXPECT_FALSE(LireValeurVersion(&chemin, "ProductVersion", valeur, 1024));
        EXPECT_EQ(valeur, "");
    }
}

TEST(LireValeurVersion, SansTableDesTraductionsAucuneValeurMaisDesVersions) {
    const std::string chemin = Fixture("sans_traduction", 64);
    std::string valeur;
    EXPECT_FALSE(LireValeurVersion(&chemin, "ProductName", valeur, 1024));
    EXPECT_EQ(InfoVersion(chemin).VersionFichier, "2,0,0,1");
    EXPECT_EQ(InfoVersion(chemin, "040C04E4", "ProductName").Valeur, "Sans traduction");
}

TEST(PrefixeTraduction, LanguepuisPageDeCodeEnHexadecimalMajuscule) {
    EXPECT_EQ(PrefixeTraduction(0x04E4040C), "\\StringFileInfo\\040C04E4\\");
    EXPECT_EQ(PrefixeTraduction(0x04B00409), "\\StringFileInfo\\040904B0\\");
    EXPECT_EQ(PrefixeTraduction(0xFFFF000A), "\\StringFileInfo\\000AFFFF\\");
}

TEST(VersionProgramme, LeProgrammeRepondParSesInformationsCompilees) {
    std::string valeur;
    EXPECT_TRUE(LireValeurVersion(nullptr, "ProductName", valeur, 1024));
    EXPECT_EQ(valeur, "Emporteur");
    EXPECT_TRUE(LireValeurVersion(nullptr, "ProductVersion", valeur, 1024));
    EXPECT_EQ(valeur, "3.0.0.0");

    const std::string programme = CheminProgramme();
    const InfoVersion info(programme);
    EXPECT_EQ(info.VersionFichier, "3,0,0,0");
    EXPECT_EQ(info.VersionProduit, "3,0,0,0");
    EXPECT_EQ(info.MajeurProduit, 3u);
    EXPECT_EQ(InfoVersion(programme, "040C04E4", "ProductName").Valeur, "Emporteur");
}

TEST(NomProduitProgramme, RendLeMemeNomDepuisLeCacheEtLeCoupe) {
    std::string nom;
    EXPECT_TRUE(NomProduitProgramme(nom, 1024));
    EXPECT_EQ(nom, "Emporteur");
    EXPECT_TRUE(NomProduitProgramme(nom, 1024));
    EXPECT_EQ(nom, "Emporteur");
    EXPECT_TRUE(NomProduitProgramme(nom, 5));
    EXPECT_EQ(nom, "Empo");
    EXPECT_TRUE(NomProduitProgramme(nom, 0));
    EXPECT_EQ(nom, "");
}

} // namespace
} // namespace emporteur
