// emporteur-cli verification-programmee lancé pour de vrai, avec un faux
// « emporteur » à côté de lui qui note qu'il a été lancé.
#include "autocheck/DernierAvis.h"
#include "download/Crc32.h"
#include "foundation/CleRegistre.h"
#include "outils/AffichageFactice.h"
#include "outils/DossierTemporaire.h"
#include "outils/Processus.h"
#include "outils/ProduitInstalle.h"
#include "outils/ServeurDefaillant.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace emporteur {
namespace {

const std::string kDossier = "/telecharger/assistants/Win/";

class VerificationProgrammeeCli : public ::testing::Test {
  protected:
    void SetUp() override {
        test::InstallerProduit(env);
        namespace fs = std::filesystem;
        fs::copy_file(EMPORTEUR_CLI, bin / "emporteur-cli");
        test::EcrireFichier(bin / "emporteur",
                            "#!/bin/sh\necho \"$@\" >> \"$(dirname \"$0\")/lancements\"\n"
                            "echo \"$EMPORTEUR_SERVEUR\" > \"$(dirname \"$0\")/serveur\"\n");
        fs::permissions(bin / "emporteur", fs::perms::owner_all);
        const std::string octets = test::OctetsReproductibles(1500, 3);
        serveur.AjouterFichier("/fichiers/a62", octets);
        serveur.AjouterFichier(
            kDossier + "RecettesOrthalis",
            "2.1.0.0\n ver=\"6.1.0.12\" produit=\"Orthalis 6.2\" verMaj=\"6.2.0.3\" titre=\"T\" "
            "des=\"6.2\" cles=\"maj62\"\n");
        serveur.AjouterFichier(
            kDossier + "IngredientsOrthalis",
            "2.1.0.0\ncle=\"maj62\" fichierdistant=\"a62\" fichierlocal=\"a62\" site=\"" +
                serveur.Hote() + "\" rep=\"fichiers\" taille=\"1500\" tailleseg=\"1500\" crc=\"" +
                std::to_string(Crc32(0, octets.data(), octets.size())) + " \"\n");
        Boutique(7);
    }
    void Boutique(int majeur) {
        const std::string m = std::to_string(majeur);
        serveur.AjouterFichier(kDossier + "IngredientsBoutique",
                               "boutique\ncle=\"Orthalis\" ver=\"" + m +
                                   ".0.0.1\" produit=\"Orthalis " + m + "\" des=\"Vers " + m +
                                   "\"\n");
    }
    static void NePlusAviser(const std::string& maj, const std::string& man) {
        CleOuverte cle;
        ASSERT_EQ(CreerCle(HKEY_CURRENT_USER, kCleTelechargement, KEY_READ | KEY_WRITE, cle), 0);
        ASSERT_EQ(cle.EcrireTexte("MAJ", maj), 0);
        ASSERT_EQ(cle.EcrireTexte("MAN", man), 0);
    }
    // Code de sortie, et les lancements du faux programme depuis le début du test.
    std::pair<int, std::string> Lancer() {
        const auto r = test::Executer(bin / "emporteur-cli",
                                      {"verification-programmee", "--serveur", serveur.Hote()});
        EXPECT_EQ(r.erreurs, "");
        return {r.code, test::LireFichier(bin / "lancements")};
    }

    test::EnvironnementIsole env;
    test::AffichageFactice affichage;
    test::DossierTemporaire bin;
    test::ServeurDefaillant serveur;
};

TEST_F(VerificationProgrammeeCli, LanceLaVerificationDiscreteSaufOffreEcartee) {
    // Jamais avisé : la vérification discrète est lancée.
    EXPECT_EQ(Lancer(), std::make_pair(0, std::string("MajDiscrete\n")));

    // « Ne plus aviser » sur 6.2.0.3 et la boutique 7 : rien n'est lancé.
    NePlusAviser("6.2.0.3", "7");
    EXPECT_EQ(Lancer(), std::make_pair(0, std::string("MajDiscrete\n")));

    // La boutique passe à 8 : l'avis revient.
    Boutique(8);
    EXPECT_EQ(Lancer(), std::make_pair(0, std::string("MajDiscrete\nMajDiscrete\n")));
}

TEST_F(VerificationProgrammeeCli, CatalogueInaccessibleOuProgrammeAbsent) {
    serveur.RepondreStatut(kDossier + "RecettesOrthalis", 404);
    EXPECT_EQ(Lancer(), std::make_pair(0, std::string()));
    serveur.Reparer(kDossier + "RecettesOrthalis");
    std::filesystem::remove(bin / "emporteur");
    const auto r = test::Executer(bin / "emporteur-cli",
                                  {"verification-programmee", "--serveur", serveur.Hote()});
    EXPECT_EQ(r.code, 127);
    EXPECT_NE(r.erreurs.find("Impossible de lancer"), std::string::npos) << r.erreurs;
}

TEST_F(VerificationProgrammeeCli, LeServeurDonneSuitDansLEnvironnementDuProgrammeLance) {
    // L'option ne passe pas par l'environnement de la commande : seul le programme lancé le reçoit.
    test::VariableTemporaire autre("EMPORTEUR_SERVEUR", "ailleurs.invalid");
    EXPECT_EQ(Lancer().second, "MajDiscrete\n");
    EXPECT_EQ(test::LireFichier(bin / "serveur"), serveur.Hote() + "\n");
}

TEST_F(VerificationProgrammeeCli, SansAffichageRienNEstLanceEtLeJournalLeDit) {
    const test::AffichageAbsent absent;
    const auto r = test::Executer(bin / "emporteur-cli",
                                  {"verification-programmee", "--serveur", serveur.Hote()});
    EXPECT_EQ(r.code, 0) << r.erreurs;
    EXPECT_EQ(r.sortie,
              "Aucun affichage graphique joignable : la vérification n'est pas lancée.\n");
    EXPECT_EQ(test::LireFichier(bin / "lancements"), "");
}

} // namespace
} // namespace emporteur
