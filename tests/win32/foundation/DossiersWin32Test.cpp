// Dossiers connus de Windows et chemin du programme derrière DossiersUtilisateur.h.
#include "ProcessusEnfant.h"

#include "foundation/DossiersUtilisateur.h"
#include "foundation/Fichiers.h"
#include "foundation/win32/Utf16.h"
#include "outils/DossierTemporaire.h"

#include <gtest/gtest.h>
#include <string>
#include <windows.h>

namespace emporteur {
namespace {

std::string Windows(std::string chemin) {
    for (char& c : chemin)
        if (c == '/') c = '\\';
    return chemin;
}

std::string Variable(const wchar_t* nom) {
    wchar_t tampon[32768];
    const DWORD n = GetEnvironmentVariableW(nom, tampon, 32768);
    return n && n < 32768 ? DepuisUtf16(std::wstring_view(tampon, n)) : "";
}

TEST(DossiersWin32, LesDossiersConnusSontCeuxDuSysteme) {
    const struct {
        const char* nom;
        std::string (*dossier)();
        const wchar_t* variable; // ce que le système en dit aussi
    } cas[] = {
        {"données d'application", DossierDonneesApplication, L"APPDATA"},
        {"données locales", DossierDonneesLocales, L"LOCALAPPDATA"},
        {"réglages", DossierConfigurationUtilisateur, L"APPDATA"},
        {"Windows", DossierSysteme, L"WINDIR"},
        {"bureau", DossierBureau, nullptr},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        const std::string dossier = c.dossier();
        ASSERT_GE(dossier.size(), 3u);
        EXPECT_EQ(dossier.substr(1, 2), ":\\"); // absolu, avec la lettre du lecteur
        if (c.variable) {
            EXPECT_EQ(CompareStringOrdinal(VersUtf16(dossier).c_str(), -1,
                                           VersUtf16(Variable(c.variable)).c_str(), -1, TRUE),
                      CSTR_EQUAL)
                << Variable(c.variable);
        }
    }
}

TEST(DossiersWin32, LesTestsIsolentLesDossiersDeLUtilisateur) {
    const std::string avant = DossierDonneesApplication();
    {
        test::EnvironnementIsole env;
        EXPECT_EQ(Windows(DossierDonneesApplication()), Windows(env.Donnees()));
        EXPECT_EQ(Windows(DossierDonneesLocales()), Windows(env.DonneesLocales()));
        EXPECT_EQ(Windows(DossierBureau()), Windows(env.Bureau()));
        EXPECT_TRUE(DossierExiste(DossierDonneesLocales()));
    }
    EXPECT_EQ(DossierDonneesApplication(), avant);
}

TEST(DossiersWin32, LeCheminDuProgrammeSurvitAuxAccents) {
    EXPECT_EQ(CheminProgramme(), test::CetExecutable());
    test::DossierTemporaire d;
    const std::string dossier = Windows(d / "Élodie — Téléchargements");
    ASSERT_TRUE(CreateDirectoryW(VersUtf16(dossier).c_str(), nullptr));
    const std::string copie = dossier + "\\Mise à jour ✓.exe";
    ASSERT_TRUE(
        CopyFileW(VersUtf16(test::CetExecutable()).c_str(), VersUtf16(copie).c_str(), TRUE));
    const std::string sortie = dossier + "\\chemin.txt";
    ASSERT_EQ(test::LancerEnfant("EnfantWin32.CheminProgramme", sortie, copie), 0);
    EXPECT_EQ(test::LireFichier(sortie), copie);
}

TEST(EnfantWin32, CheminProgramme) {
    const std::string sortie = test::Consigne();
    if (sortie.empty()) GTEST_SKIP() << "joué seulement dans le processus enfant";
    test::EcrireFichier(sortie, CheminProgramme());
}

} // namespace
} // namespace emporteur
