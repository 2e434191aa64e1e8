// Profils INI par l'API de Windows derrière FichierProfil.h.
#include "ProcessusEnfant.h"

#include "foundation/DossiersUtilisateur.h"
#include "foundation/FichierProfil.h"
#include "foundation/win32/Utf16.h"
#include "outils/DossierTemporaire.h"

#include <gtest/gtest.h>
#include <string>
#include <windows.h>

namespace emporteur {
namespace {

const std::string kDossier = "C:\\Users\\Élodie\\Orthalis 6";

// Le chemin d'un dossier temporaire avec les séparateurs de Windows.
std::string Windows(std::string chemin) {
    for (char& c : chemin)
        if (c == '/') c = '\\';
    return chemin;
}

TEST(ProfilWin32, UnProfilEcritParUnProcessusEstLuParUnAutre) {
    test::DossierTemporaire d;
    const std::string ini = Windows(d / "Réglages à part.ini");
    ASSERT_EQ(test::LancerEnfant("EnfantWin32.Profil", ini), 0);

    const FichierProfil profil("orthalis", ini); // section sans casse
    EXPECT_EQ(profil.Fichier(), ini);
    std::string valeur;
    const struct {
        const char* cle;
        const char* defaut;
        std::size_t taille;
        bool attendu;
        std::string valeur;
    } cas[] = {
        {"DOSSIERORTHALIS", "", 260, true, kDossier}, // clé sans casse
        {"Version", "", 260, true, "6.1"},
        {"Guillemets", "", 260, true, "entre guillemets"},
        {"DossierOrthalis", "", 12, true, "C:\\Users\\\xC3\x89"}, // 11 octets, É entier
        {"DossierOrthalis", "", 11, true, "C:\\Users\\"},         // jamais un É coupé
        {"Absente", "défaut  ", 260, true, "défaut"},             // blancs finaux ôtés
        {"Absente", "", 260, false, ""},
        {"Version", "", 0, false, ""},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(std::string(c.cle) + " dans " + std::to_string(c.taille));
        EXPECT_EQ(profil.LireTexte(c.cle, valeur, c.taille, c.defaut), c.attendu);
        EXPECT_EQ(valeur, c.valeur);
    }
    // Une autre section, ou un fichier absent : le défaut.
    EXPECT_FALSE(FichierProfil("Autre", ini).LireTexte("Version", valeur, 260, ""));
    const FichierProfil absent("Orthalis", Windows(d / "absent.ini"));
    EXPECT_EQ(absent.Fichier(), Windows(d / "absent.ini"));
    EXPECT_TRUE(absent.LireTexte("Version", valeur, 260, "5.0"));
    EXPECT_EQ(valeur, "5.0");
}

TEST(EnfantWin32, Profil) {
    const std::string ini = test::Consigne();
    if (ini.empty()) GTEST_SKIP() << "joué seulement dans le processus enfant";
    const std::wstring fichier = VersUtf16(ini);
    // L'écrivain du système, pas le nôtre.
    for (auto [cle, valeur] : {std::pair{L"DossierOrthalis", VersUtf16(kDossier)},
                               std::pair{L"Version", std::wstring(L"  6.1  ")},
                               std::pair{L"Guillemets", std::wstring(L"\"entre guillemets\"")}})
        ASSERT_TRUE(WritePrivateProfileStringW(L"Orthalis", cle, valeur.c_str(), fichier.c_str()));
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, fichier.c_str()); // vidé sur disque
}

TEST(ProfilWin32, UnNomNuEstChercheDansLeDossierWindows) {
    const std::string nom = "emporteur-" + std::to_string(GetCurrentProcessId()) + ".ini";
    const std::string windows = DossierSysteme() + "\\" + nom;
    EXPECT_EQ(FichierProfil("Orthalis", nom).Fichier(), nom); // absent : gardé tel quel
    test::EcrireFichier(windows, "[Orthalis]\r\nDossierOrthalis=C:\\Orthalis\r\n");
    const FichierProfil profil("Orthalis", nom);
    std::string valeur;
    EXPECT_TRUE(profil.LireTexte("DossierOrthalis", valeur, 260, ""));
    DeleteFileW(VersUtf16(windows).c_str());
    EXPECT_EQ(profil.Fichier(), windows);
    EXPECT_EQ(valeur, "C:\\Orthalis");
}

} // namespace
} // namespace emporteur
