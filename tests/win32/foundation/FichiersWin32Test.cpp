// Chemins de Windows (lecteurs, "\", accents) derrière Chemins.h, Fichiers.h et
// SourceOctets.h.
#include "foundation/Chemins.h"
#include "foundation/DossiersUtilisateur.h"
#include "foundation/Fichiers.h"
#include "foundation/InfoVersion.h"
#include "foundation/SourceOctets.h"
#include "foundation/win32/Utf16.h"
#include "outils/DossierTemporaire.h"

#include <chrono>
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

std::string Applique(void (*f)(std::string&), std::string s) {
    f(s);
    return s;
}

TEST(CheminsWin32, EditionsAvecLesSeparateursDeWindows) {
    const struct {
        void (*f)(std::string&);
        const char* avant;
        const char* apres;
    } cas[] = {
        {AjouterBarre, "", ""},
        {AjouterBarre, "C:\\Data\\", "C:\\Data\\"},
        {AjouterBarre, "C:\\Data", "C:\\Data\\"},
        {AjouterBarre, "C:/Data/", "C:/Data/"}, // "/" vaut séparateur
        {RetirerBarre, "C:\\Data\\", "C:\\Data"},
        {RetirerBarre, "C:/Data/", "C:/Data"},
        {RetirerDernierElement, "C:\\Data\\Sub", "C:\\Data"},
        {RetirerDernierElement, "C:\\Data\\", "C:\\Data"},
        {RetirerDernierElement, "C:\\Data/Sub", "C:\\Data"},
        {RetirerDernierElement, "Data", ""},
        {RetirerNomFichier, "C:\\Prog\\setup.exe", "C:\\Prog"},
        {RetirerNomFichier, "C:\\Prog", "C:\\Prog"},
        {RetirerNomFichier, "C:\\a.b\\c", "C:\\a.b\\c"},
        {RetirerNomFichier, "C:\\a.b", "C:"},
        {RetirerNomFichier, "x.exe", "x.exe"},
        {RetirerNomFichier, "C:\\Téléchargements\\Mise à jour.exe", "C:\\Téléchargements"},
    };
    for (const auto& c : cas)
        EXPECT_EQ(Applique(c.f, c.avant), c.apres) << c.avant;
    EXPECT_EQ(kSeparateur, '\\');
}

TEST(FichiersWin32, LecteursEtRacines) {
    for (const char* chemin : {"C:", "C:\\", "C:/", "\\"})
        EXPECT_TRUE(DossierExiste(chemin)) << chemin;
    EXPECT_FALSE(DossierExiste(""));
    EXPECT_FALSE(CreerDossier("C:\\"));
}

TEST(FichiersWin32, CheminsNonAsciiCreesLusEtEnumeres) {
    test::DossierTemporaire d;
    const std::string utilisateur = Windows(d.Chemin()) + "\\Users\\Élodie";
    const std::string dossier = utilisateur + "\\Téléchargements";
    ASSERT_TRUE(CreerDossier(dossier));
    EXPECT_TRUE(DossierExiste(dossier + "\\"));
    EXPECT_FALSE(CreerDossier(dossier));                      // existe déjà
    EXPECT_TRUE(CreerDossier(utilisateur + "/Bureau/Reçus")); // "/" aussi

    const std::string fichier = dossier + "\\Mise à jour 6.1 — été.exe";
    const std::string contenu = test::OctetsReproductibles(70000, 7);
    test::EcrireFichier(fichier, contenu);
    const struct {
        const char* nom;
        bool trouve;
    } recherches[] = {
        {"Mise à jour 6.1 — été.exe", true},
        {"*.exe", true},
        {"*été*", true},
        {"Mise ? jour*", true},
        {"*.txt", false},
        {"Mise à jour.exe", false},
    };
    for (const auto& r : recherches)
        EXPECT_EQ(FichierExiste(r.nom, dossier), r.trouve) << r.nom;
    EXPECT_TRUE(FichierExiste(fichier));
    EXPECT_TRUE(EntreeExiste(fichier, true));
    EXPECT_FALSE(EntreeExiste(dossier + "\\*.exe")); // à la lettre, sans joker

    auto source = SourceFichier::Ouvrir(fichier);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->Taille(), contenu.size());
    std::string lu(100, '\0');
    ASSERT_TRUE(source->Lire(65500, lu.size(), reinterpret_cast<std::uint8_t*>(lu.data())));
    EXPECT_EQ(lu, contenu.substr(65500, 100));
    EXPECT_FALSE(source->Lire(contenu.size() - 10, 11, reinterpret_cast<std::uint8_t*>(lu.data())));
    EXPECT_EQ(SourceFichier::Ouvrir(dossier), nullptr); // un dossier
    EXPECT_EQ(SourceFichier::Ouvrir(dossier + "\\absent.exe"), nullptr);
    EXPECT_EQ(SourceFichier::Ouvrir("CON"), nullptr); // la console

    // Tant qu'une lecture la tient ouverte, l'entrée effacée reste visible.
    source.reset();
    EXPECT_TRUE(EffacerFichier(fichier));
    EXPECT_FALSE(FichierExiste("*.exe", dossier));
}

TEST(FichiersWin32, EffacerRendLEcritureEtAbandonneApresTroisEssais) {
    test::DossierTemporaire d;
    const std::string protege = Windows(d / "protégé.bin");
    test::EcrireFichier(protege, "x");
    const std::wstring large = VersUtf16(protege);
    ASSERT_TRUE(
        SetFileAttributesW(large.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_TRUE(EffacerFichier(protege));
    EXPECT_FALSE(EntreeExiste(protege));
    EXPECT_TRUE(EffacerFichier(protege)); // déjà parti

    // Ouvert ailleurs sans partage de l'effacement : trois essais, deux attentes, faux.
    const std::string tenu = Windows(d / "tenu.bin");
    test::EcrireFichier(tenu, "x");
    const HANDLE poignee = CreateFileW(VersUtf16(tenu).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                       nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(poignee, INVALID_HANDLE_VALUE);
    const auto debut = std::chrono::steady_clock::now();
    EXPECT_FALSE(EffacerFichier(tenu));
    EXPECT_GE(std::chrono::steady_clock::now() - debut, std::chrono::milliseconds(900));
    CloseHandle(poignee);
    EXPECT_TRUE(EffacerFichier(tenu));
}

TEST(FichiersWin32, LeLecteurDeVersionLitUnExecutableAuCheminAccentue) {
    // Un exécutable du système, avec sa ressource de version, copié sous un nom accentué.
    const std::string original = DossierSysteme() + "\\system32\\winver.exe";
    const InfoVersion attendue(original);
    ASSERT_FALSE(attendue.VersionProduit.empty());
    std::string nomAttendu;
    ASSERT_TRUE(LireValeurVersion(&original, "ProductName", nomAttendu, 1024));

    test::DossierTemporaire d;
    const std::string dossier = Windows(d / "Élodie");
    ASSERT_TRUE(CreerDossier(dossier));
    const std::string copie = dossier + "\\Orthal32 — é.exe";
    ASSERT_TRUE(CopyFileW(VersUtf16(original).c_str(), VersUtf16(copie).c_str(), TRUE));
    const InfoVersion lue(copie);
    EXPECT_EQ(lue.VersionFichier, attendue.VersionFichier);
    EXPECT_EQ(lue.VersionProduit, attendue.VersionProduit);
    std::string nom;
    EXPECT_TRUE(LireValeurVersion(&copie, "ProductName", nom, 1024));
    EXPECT_EQ(nom, nomAttendu);
}

} // namespace
} // namespace emporteur
