#include "download/Crc32.h"
#include "outils/DossierTemporaire.h"
#include "outils/Processus.h"
#include "outils/ProduitInstalle.h"
#include "outils/ServeurDefaillant.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace emporteur {
namespace {

const std::string kDossier = "/telecharger/assistants/Win/";

// Contenu de fichier reproductible, et sa liste de CRC par segments.
std::string Contenu(std::size_t taille, char graine) {
    std::string octets(taille, '\0');
    for (std::size_t i = 0; i < taille; ++i)
        octets[i] = static_cast<char>(graine + (i * 7) % 251);
    return octets;
}

std::string ListeCrc(const std::string& octets, std::size_t segment) {
    std::string liste;
    for (std::size_t debut = 0; debut < octets.size(); debut += segment) {
        const std::size_t n = std::min(segment, octets.size() - debut);
        liste += std::to_string(Crc32(0, octets.data() + debut, n)) + " ";
    }
    return liste;
}

class VerifierTelecharger : public ::testing::Test {
  protected:
    // Ligne d'ingrédient servie par notre serveur, dossier "fichiers".
    std::string Ingredient(const std::string& cle, const std::string& nom,
                           const std::string& octets, const std::string& des = "") {
        serveur.AjouterFichier("/fichiers/" + nom, octets);
        return "cle=\"" + cle + "\" fichierdistant=\"" + nom + "\" fichierlocal=\"" + nom +
               "\" site=\"" + serveur.Hote() + "\" rep=\"fichiers\" taille=\"" +
               std::to_string(octets.size()) + "\" tailleseg=\"1000\" crc=\"" +
               ListeCrc(octets, 1000) + "\"" + (des.empty() ? "" : " des=\"" + des + "\"") + "\n";
    }
    void Servir(const std::string& recettes, const std::string& ingredients,
                const std::string& majeur) {
        serveur.AjouterFichier(kDossier + "RecettesOrthalis", recettes);
        serveur.AjouterFichier(kDossier + "IngredientsOrthalis", ingredients);
        serveur.AjouterFichier(kDossier + "IngredientsBoutique",
                               "boutique\ncle=\"Orthalis\" ver=\"" + majeur +
                                   ".0.0.1\" produit=\"Orthalis " + majeur + "\" des=\"Vers " +
                                   majeur + "\"\n");
    }
    test::ResultatProcessus Cli(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin() + 1, {"--serveur", serveur.Hote()});
        return test::ExecuterCli(arguments, {{"EMPORTEUR_SITE", "site.mervane.test"}});
    }

    test::EnvironnementIsole env;
    test::ServeurDefaillant serveur;
    const std::string fichier62 = Contenu(2500, 'a');
    const std::string fichier51 = Contenu(1200, 'z');
};

const std::string kRecettes =
    "2.1.0.0\n"
    " ver=\"5.0.0.1\" produit=\"Orthalis 5.1\" verMaj=\"5.1.0.0\" titre=\"T\" des=\"5.1\" "
    "cles=\"maj51\"\n"
    " ver=\"6.1.0.12\" produit=\"Orthalis 6.2\" verMaj=\"6.2.0.3\" titre=\"T\" des=\"6.2\" "
    "cles=\"maj62\"\n";

TEST_F(VerifierTelecharger, VerifierRendLeJsonEtLesCodesDeSortie) {
    test::InstallerProduit(env);
    Servir(kRecettes,
           "2.1.0.0\n" + Ingredient("maj51", "a51", fichier51) +
               Ingredient("maj62", "a62", fichier62),
           "7");
    auto r = Cli({"verifier"});
    ASSERT_EQ(r.code, 0) << r.erreurs;
    const auto j = nlohmann::json::parse(r.sortie);
    EXPECT_EQ(j["versionInstallee"], "6.1.0.12");
    EXPECT_EQ(j["versionAffichee"], "Orthalis 6.1 (build 1234)");
    EXPECT_EQ(j["miseAJour"], true);
    EXPECT_EQ(j["recette"], 1);
    EXPECT_EQ(j["produit"], "Orthalis 6.2");
    EXPECT_EQ(j["versionMaj"], "6.2.0.3");
    EXPECT_EQ(j["miseANiveau"], true);
    EXPECT_EQ(j["majeurBoutique"], 7);
    EXPECT_EQ(j["produitBoutique"], "Orthalis 7");

    // Rien de neuf pour 6.1.0.12 et une boutique au même majeur : 1.
    Servir("2.1.0.0\n" + kRecettes.substr(8, kRecettes.find('\n', 8) - 7),
           "2.1.0.0\n" + Ingredient("maj51", "a51", fichier51), "6");
    r = Cli({"verifier"});
    ASSERT_EQ(r.code, 1) << r.erreurs << r.sortie;
    const auto rien = nlohmann::json::parse(r.sortie);
    EXPECT_EQ(rien["miseAJour"], false);
    EXPECT_EQ(rien["recette"], -1);
    EXPECT_EQ(rien["miseANiveau"], false);

    // Catalogue absent : 2, le message sur la sortie d'erreur, aucun JSON.
    serveur.RepondreStatut(kDossier + "RecettesOrthalis", 404);
    r = Cli({"verifier"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.sortie, "");
    EXPECT_NE(r.erreurs.find("Un problème empêche d’accéder au site de Mervane."),
              std::string::npos)
        << r.erreurs;

    // Format trop récent : 2 aussi.
    serveur.Reparer(kDossier + "RecettesOrthalis");
    serveur.AjouterFichier(kDossier + "RecettesOrthalis", "3.0.0.0\n");
    r = Cli({"verifier"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.erreurs.find("Cet Emporteur est trop ancien."), std::string::npos);
}

TEST_F(VerifierTelecharger, VersionInstallee) {
    auto r = test::ExecuterCli({"version-installee"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.sortie, "\naucune détectée\n");
    test::InstallerProduit(env);
    r = test::ExecuterCli({"version-installee"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.sortie, "6.1.0.12\nOrthalis 6.1 (build 1234)\n");
}

TEST_F(VerifierTelecharger, TelechargerChoisitSelonLaVersionInstallee) {
    test::InstallerProduit(env);
    Servir(kRecettes,
           "2.1.0.0\n" + Ingredient("maj51", "a51", fichier51) +
               Ingredient("maj62", "a62", fichier62),
           "7");
    const std::string dest = env.Racine() / "recus";
    const auto r = Cli({"telecharger", "--dossier", dest});
    ASSERT_EQ(r.code, 0) << r.erreurs << r.sortie;
    EXPECT_EQ(test::LireFichier(dest + "/a62"), fichier62);
    EXPECT_EQ(test::LireFichier(dest + "/a51"), "");
}

TEST_F(VerifierTelecharger, TelechargerLaMiseANiveauEntiere) {
    serveur.AjouterFichier(kDossier + "IngredientsBoutique",
                           "boutique\ncle=\"Orthalis\" ver=\"7.0.0.1\" des=\"Vers 7\"\n");
    serveur.AjouterFichier("/ingredients.php",
                           "2.1.0.0\n" + Ingredient("dico7", "dico7.bin", fichier51, "Dico") +
                               Ingredient("gram7", "gram7.bin", fichier62, "Grammaire"));
    const std::string dest = env.Racine() / "niveau";
    const auto r = Cli({"telecharger", "--mise-a-niveau", "--dossier", dest});
    ASSERT_EQ(r.code, 0) << r.erreurs << r.sortie;
    EXPECT_EQ(test::LireFichier(dest + "/dico7.bin"), fichier51);
    EXPECT_EQ(test::LireFichier(dest + "/gram7.bin"), fichier62);

    serveur.RepondreStatut("/ingredients.php", 404);
    const auto echec = Cli({"telecharger", "--mise-a-niveau", "--dossier", dest});
    EXPECT_EQ(echec.code, 1);
    EXPECT_NE(echec.erreurs.find("Un problème empêche d’accéder au site de Mervane.\n\nVeuillez "
                                 "réessayer plus tard ou nous contacter."),
              std::string::npos)
        << echec.erreurs;
}

TEST_F(VerifierTelecharger, TelechargerSansCatalogueImprimeLAdresseDeRepli) {
    test::InstallerProduit(env);
    serveur.RepondreStatut(kDossier + "RecettesOrthalis", 404);
    const auto r = Cli({"telecharger", "--dossier", env.Racine() / "x"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.erreurs.find("Orthalis 6.1 (build 1234) est installé sur votre disque dur"),
              std::string::npos)
        << r.erreurs;
    EXPECT_NE(r.erreurs.find("http://site.mervane.test/maj_win_direct.php?v=6.1.0.12"),
              std::string::npos)
        << r.erreurs;
}

} // namespace
} // namespace emporteur
