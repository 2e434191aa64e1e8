// Verrou d'un fichier de destination par LockFileEx : sous %LOCALAPPDATA%, un seul
// pour deux écritures du même fichier, tenu par un processus et refusé à un autre,
// rendu quand ce processus meurt.
#include "download/VerrouDestination.h"
#include "foundation/CheminNatif.h"
#include "outils/DossierTemporaire.h"
#include "win32/ProcessusEnfant.h"

#include <shlobj.h>

#include <filesystem>
#include <gtest/gtest.h>

namespace emporteur {
namespace {

namespace fs = std::filesystem;
constexpr const char* kVariableEnfant = "EMPORTEUR_TEST_VERROU";

std::string DonneesLocales() {
    PWSTR local = nullptr;
    ::SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &local);
    const std::string chemin = local ? DepuisUtf16(local) : std::string();
    ::CoTaskMemFree(local);
    return chemin;
}

struct VerrouDestinationWin32 : ::testing::Test {
    test::DossierTemporaire tmp;
    std::string dossier = tmp.Chemin() + "/Élodie/Téléchargements/";
    void SetUp() override { fs::create_directories(CheminNatif(dossier)); }
};

TEST_F(VerrouDestinationWin32, UnFichierDeVerrouParFichierSansEgardALaCasse) {
    const std::string chemin = VerrouDestination::CheminVerrou(dossier, "Setup été.exe");
    const std::string verrous = DonneesLocales() + "\\Emporteur\\Verrous\\";
    ASSERT_FALSE(chemin.empty());
    EXPECT_EQ(chemin.rfind(verrous, 0), 0u) << chemin;
    EXPECT_TRUE(chemin.ends_with("-SETUP%20%C3%89T%C3%89.EXE.verrou")) << chemin;
    // Windows ignore la casse : mêmes fichier et dossier, même verrou.
    const struct {
        std::string dossier, nom;
        bool meme;
    } cas[] = {
        {dossier, "SETUP ÉTÉ.EXE", true},
        {tmp.Chemin() + "/ÉLODIE/téléchargements", "setup été.exe", true},
        {dossier, "autre.exe", false},
    };
    for (const auto& c : cas)
        EXPECT_EQ(VerrouDestination::CheminVerrou(c.dossier, c.nom) == chemin, c.meme) << c.nom;
    EXPECT_EQ(VerrouDestination::CheminVerrou(dossier + "absent/", "a"), "");
    EXPECT_TRUE(fs::is_empty(CheminNatif(dossier))); // rien dans le dossier de l'utilisateur
}

// Le processus enfant : prend le verrou, le dit par un fichier, puis attend d'être tué.
TEST_F(VerrouDestinationWin32, ProcessusEnfant) {
    const std::string destination = test::Variable(kVariableEnfant);
    if (destination.empty()) GTEST_SKIP() << "lancé par VerrouTenuParUnAutreProcessus";
    VerrouDestination verrou;
    ASSERT_TRUE(verrou.Essayer(destination, "setup.exe"));
    test::EcrireFichier(destination + "pret", "1");
    ::Sleep(120000);
}

TEST_F(VerrouDestinationWin32, VerrouTenuParUnAutreProcessus) {
    test::ProcessusEnfant enfant("VerrouDestinationWin32.ProcessusEnfant", kVariableEnfant,
                                 dossier);
    ASSERT_TRUE(enfant.Lance());
    ASSERT_TRUE(test::AttendreQue([&] { return fs::exists(CheminNatif(dossier + "pret")); }));
    VerrouDestination verrou;
    EXPECT_FALSE(verrou.Essayer(dossier, "setup.exe"));
    EXPECT_FALSE(verrou.Essayer(dossier, "SETUP.EXE"));
    EXPECT_TRUE(verrou.Essayer(dossier, "autre.exe"));
    // Attendre : une seule annonce, puis l'annulation arrête l'attente.
    std::atomic<bool> annule{false};
    int annonces = 0;
    EXPECT_FALSE(verrou.Prendre(dossier, "setup.exe", annule, [&] {
        ++annonces;
        annule = true;
    }));
    EXPECT_EQ(annonces, 1);
    EXPECT_FALSE(verrou.Impossible());
    // Le processus meurt sans rien rendre : le système rend son verrou.
    enfant.Tuer();
    EXPECT_TRUE(test::AttendreQue([&] { return verrou.Essayer(dossier, "setup.exe"); }));
    // Deux verrous du même processus s'excluent aussi, comme flock.
    VerrouDestination second;
    EXPECT_FALSE(second.Essayer(dossier, "setup.exe"));
    verrou.Rendre();
    EXPECT_TRUE(second.Essayer(dossier, "setup.exe"));
}

} // namespace
} // namespace emporteur
