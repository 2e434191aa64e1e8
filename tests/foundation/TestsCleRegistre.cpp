#include "foundation/CleRegistre.h"
#include "outils/DossierTemporaire.h"

#include <cstring>
#include <gtest/gtest.h>

namespace emporteur {
namespace {

constexpr const char* kCle = "Software\\Mervane\\Orthalis\\6.0\\Telechargement";

class CleRegistreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(CreerCle(HKEY_CURRENT_USER, kCle, KEY_WRITE, ecriture), ERROR_SUCCESS);
        ASSERT_EQ(ecriture.EcrireTexte("MAJ", "6.1.0.12"), 0);
        ASSERT_EQ(ecriture.EcrireDword("SilForcay", 1), 0);
    }

    test::EnvironnementIsole env;
    CleOuverte ecriture;
};

TEST_F(CleRegistreTest, LireTexteRendLaTailleZeroFinalCompris) {
    CleRegistre cle;
    ASSERT_EQ(cle.OuvrirCle(HKEY_CURRENT_USER, kCle, KEY_READ), ERROR_SUCCESS);
    std::uint32_t taille = 0;
    EXPECT_EQ(cle.LireTexte("MAJ", nullptr, taille), ERROR_SUCCESS);
    EXPECT_EQ(taille, 9u);
    char tampon[9];
    taille = sizeof tampon;
    EXPECT_EQ(cle.LireTexte("maj", tampon, taille), ERROR_SUCCESS);
    EXPECT_EQ(taille, 9u);
    EXPECT_STREQ(tampon, "6.1.0.12");

    ASSERT_EQ(ecriture.EcrireValeur("Chemin", REG_EXPAND_SZ, "$HOME\0", 6), 0);
    std::string texte;
    EXPECT_EQ(cle.LireTexte("Chemin", texte), ERROR_SUCCESS);
    EXPECT_EQ(texte, "$HOME");
}

TEST_F(CleRegistreTest, LesErreursLaissentLaTailleAZero) {
    CleRegistre cle;
    ASSERT_EQ(cle.OuvrirCle(HKEY_CURRENT_USER, kCle), ERROR_SUCCESS);
    char tampon[8];
    std::uint32_t taille = sizeof tampon;
    EXPECT_EQ(cle.LireTexte("SilForcay", tampon, taille), ERROR_INVALID_DATA);
    EXPECT_EQ(taille, 0u);
    taille = sizeof tampon; // "6.1.0.12" et son zéro : 9 octets
    EXPECT_EQ(cle.LireTexte("MAJ", tampon, taille), ERROR_MORE_DATA);
    EXPECT_EQ(taille, 0u);
    taille = sizeof tampon;
    EXPECT_EQ(cle.LireTexte("Absente", tampon, taille), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(taille, 0u);
    std::string texte = "ancien";
    EXPECT_EQ(cle.LireTexte("MAJ", texte, 8), ERROR_MORE_DATA);
    EXPECT_EQ(texte, "");
}

TEST_F(CleRegistreTest, UnTexteSansZeroFinalEstRefuseDansUnTampon) {
    ASSERT_EQ(ecriture.EcrireValeur("Brut", REG_SZ, "abc", 3), 0);
    ASSERT_EQ(ecriture.EcrireValeur("Vide", REG_SZ, nullptr, 0), 0);
    ASSERT_EQ(ecriture.EcrireValeur("Milieu", REG_SZ, "ab\0cd\0", 6), 0);
    CleRegistre cle;
    ASSERT_EQ(cle.OuvrirCle(HKEY_CURRENT_USER, kCle), ERROR_SUCCESS);
    char tampon[16];
    std::memset(tampon, 'x', sizeof tampon);
    std::uint32_t taille = sizeof tampon;
    EXPECT_EQ(cle.LireTexte("Brut", tampon, taille), ERROR_INVALID_DATA);
    EXPECT_EQ(taille, 0u);
    taille = 0;
    EXPECT_EQ(cle.LireTexte("Brut", nullptr, taille), ERROR_SUCCESS); // taille seule
    EXPECT_EQ(taille, 3u);
    taille = sizeof tampon;
    EXPECT_EQ(cle.LireTexte("Vide", tampon, taille), ERROR_INVALID_DATA);
    std::string texte;
    EXPECT_EQ(cle.LireTexte("Milieu", texte), ERROR_SUCCESS);
    EXPECT_EQ(texte, "ab");
}

TEST_F(CleRegistreTest, UnEchecDOuvertureGardeLaCleDetenue) {
    CleRegistre cle;
    ASSERT_EQ(cle.OuvrirCle(HKEY_CURRENT_USER, kCle), ERROR_SUCCESS);
    EXPECT_EQ(cle.OuvrirCle(HKEY_CURRENT_USER, "Software\\Absente"), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(cle.Detenue());
    std::string texte;
    EXPECT_EQ(cle.LireTexte("MAJ", texte), ERROR_SUCCESS);
    EXPECT_EQ(texte, "6.1.0.12");

    // Une réussite remplace la clé détenue.
    ASSERT_EQ(cle.OuvrirCle(HKEY_CURRENT_USER, "Software\\Mervane"), ERROR_SUCCESS);
    EXPECT_EQ(cle.LireTexte("MAJ", texte), ERROR_FILE_NOT_FOUND);
}

TEST_F(CleRegistreTest, ReprendUneCleOuverteAilleursEtLaFerme) {
    CleOuverte ouverte;
    ASSERT_EQ(OuvrirCle(HKEY_CURRENT_USER, kCle, KEY_READ, ouverte), ERROR_SUCCESS);
    CleRegistre cle(std::move(ouverte));
    std::string texte;
    EXPECT_EQ(cle.LireTexte("MAJ", texte), ERROR_SUCCESS);
    EXPECT_EQ(cle.Fermer(), ERROR_SUCCESS);
    EXPECT_FALSE(cle.Detenue());
    EXPECT_EQ(cle.Fermer(), ERROR_SUCCESS); // rien de détenu : 0
    EXPECT_EQ(cle.LireTexte("MAJ", texte), ERROR_INVALID_HANDLE);

    CleOuverte autre;
    ASSERT_EQ(OuvrirCle(HKEY_CURRENT_USER, kCle, KEY_READ, autre), ERROR_SUCCESS);
    cle.Prendre(std::move(autre));
    EXPECT_EQ(cle.LireTexte("MAJ", texte), ERROR_SUCCESS);
}

} // namespace
} // namespace emporteur
