// Les manières de la ligne de commande : aide, version, erreurs d'usage.
#include "outils/Processus.h"

#include <gtest/gtest.h>

namespace emporteur {
namespace {

bool Contient(const std::string& texte, const std::string& morceau) {
    return texte.find(morceau) != std::string::npos;
}

TEST(AideCli, AideEtVersionSurLaSortieStandardAvecZero) {
    for (const char* option : {"--help", "-h"}) {
        SCOPED_TRACE(option);
        const auto r = test::ExecuterCli({option});
        EXPECT_EQ(r.code, 0);
        EXPECT_EQ(r.erreurs, "");
        for (const char* c : {"catalogue", "telecharger", "verifier", "verification-programmee",
                              "crc", "ingredient", "signer", "version-installee", "registre"})
            EXPECT_TRUE(Contient(r.sortie, std::string("emporteur-cli ") + c)) << c;
        EXPECT_TRUE(Contient(r.sortie, "--version"));
    }
    const auto v = test::ExecuterCli({"--version"});
    EXPECT_EQ(v.code, 0);
    // La construction par défaut n'a pas de clé : elle le dit.
    EXPECT_EQ(v.sortie, "emporteur-cli 3.0.0.0\nsignatures : non vérifiées\n");
    EXPECT_EQ(v.erreurs, "");
}

TEST(AideCli, ChaqueCommandeASonAideSansRienExecuter) {
    // --help l'emporte sur le reste, même sur des arguments qui échoueraient.
    for (const char* c : {"catalogue", "telecharger", "verifier", "verification-programmee", "crc",
                          "ingredient", "signer", "version", "version-installee", "registre"}) {
        for (const char* option : {"--help", "-h"}) {
            SCOPED_TRACE(std::string(c) + " " + option);
            const auto r = test::ExecuterCli({c, "/absent", option});
            EXPECT_EQ(r.code, 0);
            EXPECT_EQ(r.sortie.rfind(std::string("Usage : emporteur-cli ") + c, 0), 0u) << r.sortie;
            EXPECT_EQ(r.erreurs, "");
        }
    }
}

TEST(AideCli, ErreurDUsageNommeLaCommandeEtRenvoieASonAide) {
    const struct {
        std::vector<std::string> arguments;
        std::string attendu; // dans la sortie d'erreur
    } cas[] = {
        {{"verifier", "de-trop"}, "emporteur-cli verifier --help"},
        {{"crc", "un-seul"}, "emporteur-cli crc --help"},
        {{"telecharger", "--inconnue"}, "emporteur-cli telecharger --help"},
        {{"registre", "effacer", "K", "V"}, "emporteur-cli registre --help"},
        {{"verification-programmee", "x"}, "emporteur-cli verification-programmee --help"},
        {{"inconnue"}, "emporteur-cli --help"},
        {{}, "emporteur-cli --help"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.attendu);
        const auto r = test::ExecuterCli(c.arguments);
        EXPECT_EQ(r.code, 2);
        EXPECT_EQ(r.sortie, "");
        EXPECT_TRUE(Contient(r.erreurs, c.attendu)) << r.erreurs;
        if (!c.arguments.empty()) {
            EXPECT_TRUE(Contient(r.erreurs, c.arguments.front())) << r.erreurs;
        }
    }
}

} // namespace
} // namespace emporteur
