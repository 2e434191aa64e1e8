#include "foundation/Registre.h"
#include "messages/DossierProduit.h"
#include "outils/DossierTemporaire.h"
#include "outils/RegistreMachine.h"

#include <gtest/gtest.h>

namespace emporteur {
namespace {

constexpr const char* kCleUtilisateur = "Software\\Mervane\\Orthalis\\6.0\\Installation";
constexpr const char* kCleMachine = "SOFTWARE\\Mervane\\Orthalis";

class DossierProduitTest : public ::testing::Test {
  protected:
    // Un dossier d'installation d'Orthalis, sans barre finale.
    std::string Installation(const std::string& relatif) {
        const std::string dossier = env.Racine() / relatif;
        test::EcrireFichier(dossier + "/Orthal32.exe", "MZ");
        return dossier;
    }
    void EcrireUtilisateur(const std::string& dossier) {
        CleOuverte cle;
        ASSERT_EQ(CreerCle(HKEY_CURRENT_USER, kCleUtilisateur, KEY_WRITE, cle), ERROR_SUCCESS);
        ASSERT_EQ(cle.EcrireTexte("DossierOrthalis", dossier), ERROR_SUCCESS);
    }
    void EcrireIni(const std::string& contenu) {
        test::EcrireFichier(env.Systeme() + "/Orthalis.ini", contenu);
    }

    test::EnvironnementIsole env;
    // Le programme, sans extension, dans un dossier dont un parent porte un point.
    const std::string programme = env.Racine() / "opt/v1.2/Suite/Outil/emporteur";
};

TEST_F(DossierProduitTest, LeDossierDuProgrammePasseAvantLeRegistre) {
    const std::string ici = Installation("opt/v1.2/Suite/Outil");
    EcrireUtilisateur(Installation("ailleurs"));
    std::string dossier;
    EXPECT_TRUE(TrouverDossierProduit(dossier, kCapaciteChemin, programme));
    EXPECT_EQ(dossier, ici + "/");
    std::string chemin;
    EXPECT_TRUE(CheminExecutableProduit(chemin, kCapaciteChemin, programme));
    EXPECT_EQ(chemin, ici + "/Orthal32.exe");
}

TEST_F(DossierProduitTest, LeDossierOrthalisVoisinPasseAvantLeRegistre) {
    const std::string voisin = Installation("opt/v1.2/Suite/Orthalis");
    EcrireUtilisateur(Installation("ailleurs"));
    std::string dossier;
    EXPECT_TRUE(TrouverDossierProduit(dossier, kCapaciteChemin, programme));
    EXPECT_EQ(dossier, voisin + "/");
}

TEST_F(DossierProduitTest, LeRegistreDeLUtilisateurRendLeDossierAvecSaBarre) {
    const std::string installe = Installation("Programmes/Orthalis 6");
    EcrireUtilisateur(installe);
    ASSERT_EQ(test::EcrireTexteMachine(kCleMachine, "DossierOrthalis", Installation("machine")), 0);
    std::string dossier;
    EXPECT_TRUE(TrouverDossierProduit(dossier, kCapaciteChemin, programme));
    EXPECT_EQ(dossier, installe + "/");
    EcrireUtilisateur(installe + "/"); // déjà terminé : pas de barre doublée
    EXPECT_TRUE(TrouverDossierProduit(dossier, kCapaciteChemin, programme));
    EXPECT_EQ(dossier, installe + "/");
}

TEST_F(DossierProduitTest, UnDossierSansExecutableOuUneValeurInvalideSontPassees) {
    const std::string machine = Installation("machine");
    ASSERT_EQ(test::EcrireTexteMachine(kCleMachine, "dossierorthalis", machine), 0);

    for (const std::string& faux : {env.Racine() / "vide", std::string(), env.Racine() / "*"}) {
        EcrireUtilisateur(faux);
        std::string dossier;
        EXPECT_TRUE(TrouverDossierProduit(dossier, kCapaciteChemin, programme)) << faux;
        EXPECT_EQ(dossier, machine + "/") << faux;
    }
    // Une valeur numérique sous l'utilisateur compte comme absente.
    CleOuverte cle;
    ASSERT_EQ(CreerCle(HKEY_CURRENT_USER, kCleUtilisateur, KEY_WRITE, cle), 0);
    ASSERT_EQ(cle.EcrireDword("DossierOrthalis", 7), 0);
    std::string dossier;
    EXPECT_TRUE(TrouverDossierProduit(dossier, kCapaciteChemin, programme));
    EXPECT_EQ(dossier, machine + "/");
}

TEST_F(DossierProduitTest, OrthalisIniDuDossierWindowsEstLeDernierRecours) {
    const std::string installe = Installation("Orthalis ini");
    EcrireIni("[orthalis]\nREPERTOIRE = " + installe + "\n");
    std::string dossier;
    EXPECT_TRUE(TrouverDossierProduit(dossier, kCapaciteChemin, programme));
    EXPECT_EQ(dossier, installe + "/");

    EcrireIni("[Orthalis]\nVersion=6\n");
    dossier = "ancien";
    EXPECT_FALSE(TrouverDossierProduit(dossier, kCapaciteChemin, programme));
    EXPECT_EQ(dossier, "");
    std::string chemin = "inchangé";
    EXPECT_FALSE(CheminExecutableProduit(chemin, kCapaciteChemin, programme));
    EXPECT_EQ(chemin, "inchangé");
}

TEST_F(DossierProduitTest, UnCheminQuiNeTientPasDansLaCapaciteEchoue) {
    const std::string installe = Installation("Orthalis");
    EcrireUtilisateur(installe);
    const std::size_t complet = (installe + "/Orthal32.exe").size();
    std::string chemin;
    EXPECT_TRUE(CheminExecutableProduit(chemin, complet + 1, programme));
    EXPECT_EQ(chemin, installe + "/Orthal32.exe");
    chemin = "inchangé";
    EXPECT_FALSE(CheminExecutableProduit(chemin, complet, programme));
    EXPECT_EQ(chemin, "inchangé");

    // Une valeur trop longue pour la capacité est passée, jamais coupée.
    std::string dossier;
    EXPECT_TRUE(TrouverDossierProduit(dossier, installe.size() + 2, programme));
    EXPECT_FALSE(TrouverDossierProduit(dossier, installe.size() + 1, programme));
    EXPECT_EQ(dossier, "");
}

} // namespace
} // namespace emporteur
