#include "foundation/FichierProfil.h"
#include "outils/DossierTemporaire.h"

#include <gtest/gtest.h>

namespace emporteur {
namespace {

class FichierProfilTest : public ::testing::Test {
  protected:
    std::string Ini() const { return env.Systeme() + "/Orthalis.ini"; }
    test::EnvironnementIsole env;
};

TEST_F(FichierProfilTest, UnNomNuEstChercheDansLeDossierWindows) {
    EXPECT_EQ(FichierProfil("Orthalis", "Orthalis.ini").Fichier(), "Orthalis.ini"); // absent
    test::EcrireFichier(Ini(), "[Orthalis]\n");
    EXPECT_EQ(FichierProfil("Orthalis", "Orthalis.ini").Fichier(), Ini());
    EXPECT_EQ(FichierProfil("Orthalis", Ini()).Fichier(), Ini());
    const std::string ailleurs = env.Racine() / "ailleurs/Orthalis.ini";
    EXPECT_EQ(FichierProfil("Orthalis", ailleurs).Fichier(), ailleurs);
    EXPECT_EQ(FichierProfil().Fichier(), "");
    EXPECT_EQ(FichierProfil().Section(), "");
}

TEST_F(FichierProfilTest, LitSansCasseLaPremiereValeurSansBlancsNiGuillemets) {
    test::EcrireFichier(Ini(), "\xEF\xBB\xBF; commentaire\r\n"
                               "[Autre]\r\nRepertoire=/faux\r\n"
                               "[ORTHALIS]\r\n  repertoire =  /opt/Orthalis 6  \r\n"
                               "Repertoire=/second\r\n"
                               "Cite=\"  entre guillemets \"\r\n");
    const FichierProfil profil("Orthalis", "Orthalis.ini");
    std::string valeur;
    EXPECT_TRUE(profil.LireTexte("REPERTOIRE", valeur, 260, ""));
    EXPECT_EQ(valeur, "/opt/Orthalis 6");
    EXPECT_TRUE(profil.LireTexte("Cite", valeur, 260, ""));
    EXPECT_EQ(valeur, "  entre guillemets ");
}

TEST_F(FichierProfilTest, UneCleAbsenteDonneLeDefaut) {
    test::EcrireFichier(Ini(), "[Orthalis]\nVersion=6\n");
    const FichierProfil profil("Orthalis", "Orthalis.ini");
    std::string valeur = "ancien";
    EXPECT_FALSE(profil.LireTexte("Repertoire", valeur, 260, ""));
    EXPECT_EQ(valeur, "");
    EXPECT_TRUE(profil.LireTexte("Repertoire", valeur, 260, "/defaut  "));
    EXPECT_EQ(valeur, "/defaut");
    const FichierProfil absent("Orthalis", "Absent.ini");
    EXPECT_TRUE(absent.LireTexte("Version", valeur, 260, "5"));
    EXPECT_EQ(valeur, "5");
    EXPECT_FALSE(profil.LireTexte("Version", valeur, 0, ""));
}

TEST_F(FichierProfilTest, LaValeurEstCoupeeAuTamponSansEntamerUnCaractere) {
    test::EcrireFichier(Ini(), "[Orthalis]\nNom=Éditeur\nUn=x\n");
    const FichierProfil profil("Orthalis", Ini());
    std::string valeur;
    EXPECT_TRUE(profil.LireTexte("Nom", valeur, 5, ""));
    EXPECT_EQ(valeur, "Édi");                             // 4 octets et le zéro final
    EXPECT_FALSE(profil.LireTexte("Nom", valeur, 2, "")); // "É" ne tient pas en 1 octet
    EXPECT_FALSE(profil.LireTexte("Un", valeur, 1, ""));
}

TEST_F(FichierProfilTest, UneLigneTropLongueEstIgnoreeSansFausserLaSuite) {
    const std::string longue = "/opt/" + std::string(400, 'a');
    test::EcrireFichier(Ini(), "[Orthalis]\nRepertoire=" + longue + "=x\nVersion=6\n");
    const FichierProfil profil("Orthalis", Ini());
    std::string valeur;
    EXPECT_FALSE(profil.LireTexte("Repertoire", valeur, 4096, ""));
    EXPECT_FALSE(profil.LireTexte(std::string(150, 'a'), valeur, 4096, ""));
    EXPECT_TRUE(profil.LireTexte("Version", valeur, 4096, ""));
    EXPECT_EQ(valeur, "6");
}

} // namespace
} // namespace emporteur
