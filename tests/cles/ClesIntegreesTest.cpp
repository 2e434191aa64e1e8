// Les clés données à la configuration arrivent dans le programme octet pour octet, et
// vérifient ce que leurs clés privées signent avec l'outil openssl.
#include "commun/ClesPubliques.h"
#include "foundation/Signature.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace emporteur {
namespace {

const std::string kDossier = DOSSIER_CLES;

std::string Lire(const std::string& chemin) {
    std::ifstream f(chemin, std::ios::binary);
    std::ostringstream contenu;
    contenu << f.rdbuf();
    return contenu.str();
}

TEST(ClesIntegrees, DeuxClesDeLaConfigurationCompileesEtUtilisables) {
    const auto& cles = ClesPubliquesIntegrees();
    ASSERT_EQ(cles.size(), 2u);
    EXPECT_EQ(EtatSignatures(), "signatures : vérifiées (2 clés)");
    const char* noms[] = {"ancienne", "nouvelle"};
    const std::string message = kDossier + "/message";
    std::ofstream(message) << "2.1.0.0\n# emporteur serie=1 expire=2099-01-01\n";
    for (std::size_t i = 0; i < 2; ++i) {
        const std::string base = kDossier + "/" + noms[i];
        EXPECT_EQ(cles[i], Lire(base + "-publique.pem"));
        const std::string commande = "openssl dgst -sha256 -sign '" + base + ".pem' -out '" +
                                     message + ".sig' '" + message + "'";
        ASSERT_EQ(std::system(commande.c_str()), 0);
        EXPECT_TRUE(SignatureValide(cles[i], Lire(message), Lire(message + ".sig"))) << noms[i];
        EXPECT_FALSE(SignatureValide(cles[1 - i], Lire(message), Lire(message + ".sig")));
    }
    std::remove((message + ".sig").c_str());
}

TEST(ClesIntegrees, DateDeConstructionBienFormee) {
    const std::string date = DateConstruction();
    ASSERT_EQ(date.size(), 10u);
    EXPECT_EQ(date[4], '-');
    EXPECT_EQ(date[7], '-');
}

} // namespace
} // namespace emporteur
