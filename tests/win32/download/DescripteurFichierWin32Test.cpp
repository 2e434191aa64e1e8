// Fichiers ouverts par HANDLE : créations, refus (dossier, autre nom, lien), lectures
// et écritures positionnelles, mise sur le disque ; dans un dossier non ASCII.
#include "download/DescripteurFichier.h"
#include "download/EntreesDossier.h"
#include "foundation/CheminNatif.h"
#include "foundation/ConstantesWin32.h"
#include "foundation/win32/Utf16.h"
#include "outils/DossierTemporaire.h"

#include <winioctl.h>

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>

namespace emporteur {
namespace {

namespace fs = std::filesystem;
using test::EcrireFichier;
using test::LireFichier;

// Destination de l'utilisateur, avec accents : chaque appel passe par UTF-16.
struct DescripteurFichierWin32 : ::testing::Test {
    test::DossierTemporaire tmp;
    std::string dossier = tmp.Chemin() + "/Élodie/Téléchargements/";
    void SetUp() override { fs::create_directories(CheminNatif(dossier)); }
    std::string operator()(const std::string& nom) const { return dossier + nom; }
};

// Ce qu'on trouve sous le nom avant l'ouverture.
enum class Place { Absent, Fichier, LectureSeule, Dossier, DeuxNoms, TenuSansPartage };

struct CasOuverture {
    const char* cas;
    Place place;
    bool creerNeuf;
    std::optional<bool> modification; // vide : selon les droits (wine lancé par root l'ouvre)
    bool lecture;
};

TEST_F(DescripteurFichierWin32, OuverturesSelonCeQuiOccupeLeNom) {
    const CasOuverture cas[] = {
        {"absent", Place::Absent, true, false, false},
        {"fichier ordinaire", Place::Fichier, true, true, true},
        {"fichier en lecture seule", Place::LectureSeule, true, std::nullopt, true},
        {"dossier", Place::Dossier, false, false, false},
        {"lié sous un autre nom", Place::DeuxNoms, true, false, true},
        {"tenu ouvert sans partage", Place::TenuSansPartage, false, false, false},
    };
    int n = 0;
    for (const auto& c : cas) {
        const std::string nom = (*this)("setup" + std::to_string(++n) + ".exe");
        const std::string autre = (*this)("autre" + std::to_string(n) + ".exe");
        if (c.place == Place::Dossier) fs::create_directory(CheminNatif(nom));
        if (c.place != Place::Absent && c.place != Place::Dossier) EcrireFichier(nom, "ancien");
        if (c.place == Place::DeuxNoms) {
            ASSERT_TRUE(
                ::CreateHardLinkW(VersUtf16(autre).c_str(), VersUtf16(nom).c_str(), nullptr));
        }
        if (c.place == Place::LectureSeule) {
            ASSERT_TRUE(::SetFileAttributesW(VersUtf16(nom).c_str(), FILE_ATTRIBUTE_READONLY));
        }
        HANDLE tenu = INVALID_HANDLE_VALUE;
        if (c.place == Place::TenuSansPartage)
            tenu = ::CreateFileW(VersUtf16(nom).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                 nullptr);
        EXPECT_EQ(DescripteurFichier::OuvrirLecture(nom).EstOuvert(), c.lecture) << c.cas;
        if (c.modification) {
            EXPECT_EQ(DescripteurFichier::OuvrirModification(nom).EstOuvert(), *c.modification)
                << c.cas;
        }
        auto neuf = DescripteurFichier::CreerNeuf(nom);
        EXPECT_EQ(neuf.EstOuvert(), c.creerNeuf) << c.cas;
        if (neuf.EstOuvert()) {
            EXPECT_EQ(neuf.Taille(), 0) << c.cas;
            EXPECT_TRUE(neuf.EcrireA("neuf", 4, 0) && neuf.Fermer()) << c.cas;
            EXPECT_EQ(LireFichier(nom), "neuf") << c.cas;
        }
        // Jamais d'écriture à travers l'autre nom ni dans un fichier qu'on n'a pas pu retirer.
        if (c.place == Place::DeuxNoms) {
            EXPECT_EQ(LireFichier(autre), "ancien");
        }
        if (tenu != INVALID_HANDLE_VALUE) {
            ::CloseHandle(tenu);
            EXPECT_EQ(LireFichier(nom), "ancien");
        }
    }
}

// Wine 8 ne crée ni lien symbolique (l'appel réussit sans rien faire) ni jonction
// (ERROR_NOT_SUPPORTED) : le test ne vaut alors que sous un vrai Windows.
bool CreerLien(const std::string& lien, const std::string& cible, bool dossier) {
    ::CreateSymbolicLinkW(VersUtf16(lien).c_str(), VersUtf16(cible).c_str(),
                          SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE |
                              (dossier ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0));
    return NatureSansSuivre(lien) == NatureEntree::Lien;
}

TEST_F(DescripteurFichierWin32, UnLienNEstJamaisSuiviPourEcrire) {
    EcrireFichier((*this)("cible"), "à garder");
    const std::string lien = (*this)("setup.exe");
    if (!CreerLien(lien, (*this)("cible"), false))
        GTEST_SKIP() << "ce système ne crée pas de lien symbolique (wine 8)";
    EXPECT_FALSE(DescripteurFichier::OuvrirLectureSansLien(lien).EstOuvert());
    EXPECT_EQ(DerniereErreur(), static_cast<int>(ERROR_CANT_RESOLVE_FILENAME));
    EXPECT_FALSE(DescripteurFichier::OuvrirModification(lien).EstOuvert());
    EXPECT_FALSE(DescripteurFichier::CreerNeuf(lien).EstOuvert());
    EXPECT_FALSE(DescripteurFichier::Creer(lien).EstOuvert());
    EXPECT_TRUE(DescripteurFichier::OuvrirLecture(lien).EstOuvert()); // la lecture simple suit
    EXPECT_EQ(LireFichier((*this)("cible")), "à garder");
    EXPECT_TRUE(RetirerNom(lien));
    EXPECT_EQ(LireFichier((*this)("cible")), "à garder");
}

TEST_F(DescripteurFichierWin32, LecturesEtEcrituresPositionnelles) {
    auto f = DescripteurFichier::CreerNeuf((*this)("données"));
    ASSERT_TRUE(f.EstOuvert());
    // Dans le désordre, et au-delà de 4 Gio : la moitié haute du décalage compte.
    const std::uint64_t loin = (std::uint64_t{1} << 32) + 3;
    EXPECT_TRUE(f.EcrireA("fin", 3, 8));
    EXPECT_TRUE(f.EcrireA("début", 6, 0));
    EXPECT_TRUE(f.EcrireA("Z", 1, loin));
    EXPECT_EQ(f.Taille(), static_cast<std::int64_t>(loin + 1));
    char lu[16] = {};
    EXPECT_EQ(f.LireA(lu, 11, 0), 11);
    EXPECT_EQ(std::string(lu, 11), std::string("début\0\0fin", 11));
    EXPECT_EQ(f.LireA(lu, 8, loin), 1); // court à la fin
    EXPECT_EQ(lu[0], 'Z');
    EXPECT_EQ(f.LireA(lu, 8, loin + 10), 0); // au-delà de la fin
    EXPECT_TRUE(f.Tronquer(5));
    EXPECT_EQ(f.Taille(), 5);
    f.LancerEcriture(0, 5);
    EXPECT_TRUE(f.Synchroniser());
    EXPECT_TRUE(f.Fermer());
    EXPECT_FALSE(f.EstOuvert());
    EXPECT_EQ(LireFichier((*this)("données")), "débu");
    // Une ouverture en lecture seule se met aussi sur le disque.
    auto lecture = DescripteurFichier::OuvrirLectureSansLien((*this)("données"));
    EXPECT_TRUE(lecture.Synchroniser());
}

TEST_F(DescripteurFichierWin32, CopieParTamponBorne) {
    std::string contenu = test::OctetsReproductibles(3u << 20, 7);
    EcrireFichier((*this)("source"), contenu);
    const auto source = DescripteurFichier::OuvrirLecture((*this)("source"));
    auto cible = DescripteurFichier::Creer((*this)("cible"));
    ASSERT_TRUE(source.EstOuvert() && cible.EstOuvert());
    // La source finit avant : le nombre copié le dit.
    EXPECT_EQ(CopierPlage(source, 5, cible, 2, contenu.size()),
              static_cast<std::int64_t>(contenu.size() - 5));
    EXPECT_TRUE(cible.Fermer());
    EXPECT_EQ(LireFichier((*this)("cible")), std::string(2, '\0') + contenu.substr(5));
}

TEST_F(DescripteurFichierWin32, ErreursDecritesEnFrancais) {
    const struct {
        DWORD code;
        const char* texte;
    } cas[] = {
        {ERROR_SUCCESS, "?"},
        {ERROR_DISK_FULL, "espace disque insuffisant"},
        {ERROR_HANDLE_DISK_FULL, "espace disque insuffisant"},
        {ERROR_ACCESS_DENIED, "accès refusé"},
        {ERROR_SHARING_VIOLATION, "accès refusé"},
        {ERROR_WRITE_PROTECT, "système de fichiers en lecture seule"},
        {ERROR_FILE_NOT_FOUND, "fichier introuvable"},
        {12345, "erreur système 12345"},
    };
    for (const auto& c : cas)
        EXPECT_EQ(DescriptionErreur(static_cast<int>(c.code)), c.texte) << c.code;
    EXPECT_FALSE(DescripteurFichier::OuvrirLecture((*this)("absent")).EstOuvert());
    EXPECT_EQ(DerniereErreur(), static_cast<int>(ERROR_FILE_NOT_FOUND));
}

} // namespace
} // namespace emporteur
