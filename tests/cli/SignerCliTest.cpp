// emporteur-cli signer : la ligne de série et TEXTE.sig, lisibles par openssl, et une
// signature d'openssl lisible par le programme.
#include "catalogue/AuthentificationCatalogue.h"
#include "foundation/Signature.h"
#include "outils/ClesOpenssl.h"
#include "outils/DossierTemporaire.h"
#include "outils/Processus.h"

#include <gtest/gtest.h>

namespace emporteur {
namespace {

TEST(SignerCli, SerieInsereePuisMiseAJourEtSignatureVerifieeParOpenssl) {
    test::EnvironnementIsole env;
    const test::CleOpenssl cle;
    const std::string texte = env.Racine() / "RecettesOrthalis";
    test::EcrireFichier(texte, "2.1.0.0\r\n ver=\"6.1.0.12\" cles=\"a\"\r\n");
    const struct {
        const char* serie;
        const char* expire;
    } passages[] = {{"3", "2030-01-31"}, {"4", "2031-02-28"}};
    for (const auto& p : passages) {
        const auto r = test::ExecuterCli({"signer", "--cle-privee", cle.CheminPrive(), "--serie",
                                          p.serie, "--expire", p.expire, texte});
        ASSERT_EQ(r.code, 0) << r.erreurs;
        const std::string signe = test::LireFichier(texte);
        // Une seule ligne de série, mise à jour, les fins de ligne gardées.
        EXPECT_EQ(signe, std::string("2.1.0.0\r\n# emporteur serie=") + p.serie +
                             " expire=" + p.expire + "\r\n ver=\"6.1.0.12\" cles=\"a\"\r\n");
        const std::string sig = test::LireFichier(texte + ".sig");
        EXPECT_TRUE(cle.Verifie(signe, sig));
        EXPECT_TRUE(SignatureValide(cle.PubliquePem(), signe, sig));
    }
}

TEST(SignerCli, SignatureDOpensslAccepteeParLeProgramme) {
    test::EnvironnementIsole env;
    const test::CleOpenssl cle;
    const std::string texte = test::AvecSerie("boutique\ncle=\"Orthalis\" ver=\"7.0.0.1\"\n", 2);
    const std::string sig = cle.Signer(texte);
    const AuthentificationCatalogue auth({cle.PubliquePem()});
    std::string message;
    EXPECT_TRUE(auth.Verifier("IngredientsBoutique", texte, &sig, "", false, message)) << message;
}

TEST(SignerCli, ErreursParCas) {
    test::EnvironnementIsole env;
    const test::CleOpenssl cle, p384("secp384r1");
    const std::string texte = env.Racine() / "T";
    const std::string contenu = "2.1.0.0\nx\n";
    test::EcrireFichier(texte, contenu);
    const struct {
        const char* cas;
        std::vector<std::string> arguments;
        std::string erreur;
    } cas[] = {
        {"série négative",
         {"--cle-privee", cle.CheminPrive(), "--serie", "-1", "--expire", "2030-01-01"},
         "Série invalide"},
        {"série trop grande",
         {"--cle-privee", cle.CheminPrive(), "--serie", "4294967296", "--expire", "2030-01-01"},
         "Série invalide"},
        {"date mal formée",
         {"--cle-privee", cle.CheminPrive(), "--serie", "1", "--expire", "2030-1-1"},
         "Date d'expiration invalide"},
        {"clé d'une autre courbe",
         {"--cle-privee", p384.CheminPrive(), "--serie", "1", "--expire", "2030-01-01"},
         "Signature impossible"},
        {"clé publique au lieu de privée",
         {"--cle-privee", cle.CheminPublic(), "--serie", "1", "--expire", "2030-01-01"},
         "Signature impossible"},
        {"option manquante", {"--cle-privee", cle.CheminPrive(), "--serie", "1"}, "usage"},
    };
    for (const auto& c : cas) {
        auto arguments = c.arguments;
        arguments.insert(arguments.begin(), "signer");
        arguments.push_back(texte);
        const auto r = test::ExecuterCli(arguments);
        EXPECT_EQ(r.code, 2) << c.cas;
        EXPECT_NE(r.erreurs.find(c.erreur), std::string::npos) << c.cas << " : " << r.erreurs;
        // Rien n'est touché quand la commande échoue.
        EXPECT_EQ(test::LireFichier(texte), contenu) << c.cas;
        EXPECT_EQ(test::LireFichier(texte + ".sig"), "") << c.cas;
    }
}

} // namespace
} // namespace emporteur
