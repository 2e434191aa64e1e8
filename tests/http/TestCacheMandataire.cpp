// Un vrai mandataire qui met en cache (squid) devant un vrai nginx : le fichier est
// remplacé sous le même nom pendant que le cache garde l'ancien.
#include "http/TransfertHttp.h"
#include "outils/DossierTemporaire.h"
#include "outils/MandataireSquid.h"
#include "outils/ServeurNginx.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

namespace emporteur::test {
namespace {

using Code = CodeTransfert;

TEST(CacheMandataire, UneCopieFraicheContourneLAncienneVersionGardee) {
    if (!SquidPresent()) GTEST_SKIP() << "squid absent (scripts/installer.sh l'installe)";
    EnvironnementIsole environnement;
    DossierTemporaire racine;
    const std::string ancien = OctetsReproductibles(200000, 1);
    const std::string nouveau = OctetsReproductibles(200000, 2);
    // Un fichier publié depuis longtemps : le cache le juge frais d'après son âge.
    const auto publier = [&](const std::string& contenu, std::chrono::hours age) {
        EcrireFichier(racine / "dossier/objet.bin", contenu);
        std::filesystem::last_write_time(racine / "dossier/objet.bin",
                                         std::filesystem::file_time_type::clock::now() - age);
    };
    publier(ancien, std::chrono::hours(24 * 30));
    ServeurNginx nginx(racine.Chemin());
    MandataireSquid squid;
    const ParametresConnexion connexion{"127.0.0.1", squid.Port()};
    std::string message, tampon(1000, '\0');
    const auto lire = [&](bool fraiche) {
        TransfertHttp t;
        EXPECT_TRUE(t.Ouvrir(nginx.Hote(), "dossier", "objet.bin", connexion, message));
        if (fraiche) t.DemanderCopieFraiche();
        const auto r = t.LirePlage(tampon.data(), 1000, 5000, message);
        EXPECT_EQ(r.Code, Code::Reussi) << message;
        return tampon;
    };
    // Premier passage : le cache fait venir l'objet entier et le garde.
    std::string entier(ancien.size(), '\0');
    {
        TransfertHttp t;
        ASSERT_TRUE(t.Ouvrir(nginx.Hote(), "dossier", "objet.bin", connexion, message));
        ASSERT_EQ(t.LirePlage(entier.data(), 200000, 0, message).Code, Code::Reussi) << message;
        ASSERT_EQ(entier, ancien);
    }
    publier(nouveau, std::chrono::hours(24 * 10));
    // Le cache sert l'ancienne version tant qu'on ne demande rien d'autre…
    EXPECT_EQ(lire(false), ancien.substr(5000, 1000)) << squid.Journal();
    // … une copie fraîche va la chercher chez le serveur, et le cache la garde.
    EXPECT_EQ(lire(true), nouveau.substr(5000, 1000)) << squid.Journal();
    EXPECT_EQ(lire(false), nouveau.substr(5000, 1000)) << squid.Journal();
}

} // namespace
} // namespace emporteur::test
