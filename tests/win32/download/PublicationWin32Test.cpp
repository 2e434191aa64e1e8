// Le fichier final publié d'un seul coup par MoveFileExW, quoi qu'occupe son nom ;
// la nature des noms vue sans suivre ; l'espace libre du volume. Dossier non ASCII.
#include "download/DossierSegments.h"
#include "download/EntreesDossier.h"
#include "download/EspaceDisque.h"
#include "foundation/CheminNatif.h"
#include "foundation/ConstantesWin32.h"
#include "foundation/win32/Utf16.h"
#include "outils/DossierTemporaire.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace emporteur {
namespace {

namespace fs = std::filesystem;
using test::EcrireFichier;
using test::LireFichier;

struct PublicationWin32 : ::testing::Test {
    test::DossierTemporaire tmp;
    std::string dossier = tmp.Chemin() + "/Élodie/Téléchargements/";
    void SetUp() override { fs::create_directories(CheminNatif(dossier)); }
    std::string operator()(const std::string& nom) const { return dossier + nom; }
};

TEST_F(PublicationWin32, NatureDesNomsSansSuivre) {
    EcrireFichier((*this)("fichier"), "x");
    fs::create_directory(CheminNatif((*this)("dossier")));
    const struct {
        const char* nom;
        NatureEntree attendue;
    } cas[] = {
        {"absent", NatureEntree::Absente},
        {"absent/dessous", NatureEntree::Absente},
        {"fichier", NatureEntree::Fichier},
        {"dossier", NatureEntree::Dossier},
    };
    for (const auto& c : cas)
        EXPECT_EQ(NatureSansSuivre((*this)(c.nom)), c.attendue) << c.nom;
    EXPECT_TRUE(RetirerNom((*this)("fichier")));
    EXPECT_FALSE(RetirerNom((*this)("fichier")));
    EXPECT_EQ(DerniereErreur(), static_cast<int>(ERROR_FILE_NOT_FOUND));
}

// Ce qui occupe le nom final avant la publication.
enum class Ancien { Aucun, Ordinaire, LectureSeule, Dossier };

TEST_F(PublicationWin32, RemplacementDUnSeulCoup) {
    const struct {
        const char* cas;
        Ancien ancien;
        bool remplace;
    } cas[] = {
        {"rien", Ancien::Aucun, true},
        {"fichier ordinaire", Ancien::Ordinaire, true},
        {"fichier en lecture seule", Ancien::LectureSeule, true},
        {"dossier", Ancien::Dossier, false},
    };
    int n = 0;
    for (const auto& c : cas) {
        const std::string source = (*this)("source" + std::to_string(++n));
        const std::string cible = (*this)("Résultat " + std::to_string(n) + ".exe");
        EcrireFichier(source, "nouveau");
        if (c.ancien == Ancien::Dossier) fs::create_directory(CheminNatif(cible));
        if (c.ancien == Ancien::Ordinaire || c.ancien == Ancien::LectureSeule)
            EcrireFichier(cible, "ancien contenu");
        if (c.ancien == Ancien::LectureSeule) {
            ASSERT_TRUE(::SetFileAttributesW(VersUtf16(cible).c_str(), FILE_ATTRIBUTE_READONLY));
        }
        EXPECT_EQ(RemplacerAtomiquement(source, cible), c.remplace) << c.cas;
        EXPECT_EQ(NatureSansSuivre(source),
                  c.remplace ? NatureEntree::Absente : NatureEntree::Fichier)
            << c.cas;
        if (c.remplace) {
            EXPECT_EQ(LireFichier(cible), "nouveau") << c.cas;
        }
        if (!c.remplace) {
            EXPECT_EQ(NatureSansSuivre(cible), NatureEntree::Dossier) << c.cas;
        }
    }
}

// Toute la fin d'un fichier : segments assemblés puis publiés à la place de l'ancien
// fichier entier, même quand celui-ci, lié sous un autre nom, restait ouvert en lecture.
TEST_F(PublicationWin32, AssemblagePublieALaPlaceDeLAncienFichier) {
    const std::string contenu = "abcdefghij";
    for (const bool lieAilleurs : {false, true}) {
        const std::string nom = lieAilleurs ? "lié.exe" : "Mise à jour.exe";
        DossierSegments magasin(dossier, PlanSegments(10, 4), nom);
        EcrireFichier((*this)(nom), "abcdXXXXij"); // le segment du milieu est faux
        if (lieAilleurs) {
            ASSERT_TRUE(::CreateHardLinkW(VersUtf16((*this)("autre nom")).c_str(),
                                          VersUtf16((*this)(nom)).c_str(), nullptr));
        }
        EXPECT_EQ(magasin.OuvrirEntier(), lieAilleurs ? DossierSegments::Entier::LectureSeule
                                                      : DossierSegments::Entier::Modifiable);
        ASSERT_TRUE(magasin.EcrireSegment(1, "efgh", 4));
        ASSERT_TRUE(magasin.PreparerAssemblage());
        IssueDisque r = magasin.CommencerFin();
        const SourceSegment sources[] = {SourceSegment::Entier, SourceSegment::Fichier,
                                         SourceSegment::Entier};
        for (std::uint32_t i = 0; r.Reussie() && i < 3; ++i)
            r = magasin.FinirSegment(i, sources[i]);
        if (r.Reussie()) r = magasin.Publier();
        EXPECT_TRUE(r.Reussie()) << nom << " : " << MessageDisque(r);
        EXPECT_EQ(LireFichier((*this)(nom)), contenu) << nom;
        EXPECT_EQ(NatureSansSuivre(magasin.NomAssemblage()), NatureEntree::Absente) << nom;
        if (lieAilleurs) {
            EXPECT_EQ(LireFichier((*this)("autre nom")), "abcdXXXXij");
        }
    }
}

TEST_F(PublicationWin32, EspaceLibreDuVolume) {
    std::uint64_t libre = 0;
    int erreur = 0;
    ASSERT_TRUE(EspaceDisponible(dossier, libre, erreur));
    // Une autre mesure du même volume ; d'autres écrivent sur la machine : marge large.
    const auto espace = fs::space(CheminNatif(dossier));
    const std::uint64_t ecart =
        libre > espace.available ? libre - espace.available : espace.available - libre;
    EXPECT_GT(libre, 0u);
    EXPECT_LT(ecart, std::uint64_t{1} << 30);
    EXPECT_FALSE(EspaceDisponible((*this)("absent/"), libre, erreur));
    EXPECT_TRUE(erreur == ERROR_FILE_NOT_FOUND || erreur == ERROR_PATH_NOT_FOUND) << erreur;
}

} // namespace
} // namespace emporteur
