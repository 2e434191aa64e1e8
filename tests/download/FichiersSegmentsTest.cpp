#include "download/FichiersSegments.h"
#include "download/Crc32.h"
#include "outils/DossierTemporaire.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace emporteur {
namespace {

namespace fs = std::filesystem;
using test::DossierTemporaire;
using test::EcrireFichier;
using test::LireFichier;

const std::string kLecture = "Échec de téléchargement : impossible de lire sur le disque (code ";
const std::string kEcriture =
    "Échec de téléchargement : impossible d'écrire sur le disque : erreur code ";

// Fichier "setup.exe" de `taille` octets en segments de `segment` octets.
struct Banc {
    DossierTemporaire tmp;
    std::string dossier = tmp.Chemin() + "/";
    Ingredient ing;
    Progression progression;
    std::atomic<bool> annule{false};
    std::string contenu;

    Banc(std::int32_t taille, std::int32_t segment) {
        ing.NomLocal = "setup.exe";
        ing.Taille = taille;
        ing.TailleSegment = segment;
        for (std::int32_t i = 0; i < taille; ++i)
            contenu += static_cast<char>('a' + i % 26);
    }
    std::string Entier() const { return dossier + "setup.exe"; }
    std::string Segment(std::uint32_t i) const { return NomSegment(dossier, ing.NomLocal, i); }
    void EcrireSegments(std::uint32_t nombre) {
        for (std::uint32_t i = 0; i < nombre; ++i) {
            const auto debut = i * static_cast<std::size_t>(ing.TailleSegment);
            EcrireFichier(Segment(i), contenu.substr(debut, ing.TailleSegment));
        }
    }
};

TEST(FichiersSegments, NomDuSegment) {
    EXPECT_EQ(NomSegment("/tmp/x/", "setup.exe", 0), "/tmp/x/setup.exe.0");
    EXPECT_EQ(NomSegment("/tmp/x/", "setup.exe", 12), "/tmp/x/setup.exe.12");
}

TEST(FichiersSegments, LectureExigeAuMoinsLaLongueurDuSegment) {
    Banc b(10, 4);
    EXPECT_TRUE(EcrireSegment("abcd", 4, b.dossier, b.ing, 0));
    EXPECT_EQ(LireFichier(b.Segment(0)), "abcd");
    EXPECT_TRUE(EcrireSegment("xy", 2, b.dossier, b.ing, 0)); // tronque l'ancien
    EXPECT_EQ(LireFichier(b.Segment(0)), "xy");

    char tampon[4] = {};
    EcrireFichier(b.Segment(1), "efghZZZ"); // plus long : valide, surplus ignoré
    EXPECT_TRUE(LireSegment(tampon, 4, b.dossier, b.ing, 1));
    EXPECT_EQ(Crc32(0, tampon, 4), Crc32(0, "efgh", 4));
    EXPECT_FALSE(LireSegment(tampon, 4, b.dossier, b.ing, 0)); // plus court
    EXPECT_FALSE(LireSegment(tampon, 4, b.dossier, b.ing, 5)); // absent
    fs::create_directory(b.Segment(2));
    EXPECT_FALSE(LireSegment(tampon, 2, b.dossier, b.ing, 2));
    EXPECT_FALSE(EcrireSegment("ij", 2, b.dossier, b.ing, 2));
    // Un lien symbolique ne mène pas l'écriture hors du dossier.
    fs::create_symlink(b.tmp / "ailleurs", b.Segment(3));
    EXPECT_FALSE(EcrireSegment("ij", 2, b.dossier, b.ing, 3));
    EXPECT_FALSE(fs::exists(b.tmp / "ailleurs"));
}

TEST(FichiersSegments, SegmentationDUnFichierComplet) {
    Banc b(10, 4);
    EcrireFichier(b.Entier(), b.contenu);
    ASSERT_TRUE(SegmenterFichier(3, b.dossier, b.ing, b.progression));
    EXPECT_EQ(b.progression.Journal(), "Segmentation du fichier sur disque.\r\n"
                                       "Segment 1 de 3... \r\nSegment 2 de 3... \r\n"
                                       "Segment 3 de 3... \r\n");
    EXPECT_EQ(LireFichier(b.Segment(0)), "abcd");
    EXPECT_EQ(LireFichier(b.Segment(1)), "efgh");
    EXPECT_EQ(LireFichier(b.Segment(2)), "ij");
}

TEST(FichiersSegments, SegmentationSuitLeFichierTrouveSansDepasserLePlan) {
    Banc court(12, 4);
    EcrireFichier(court.Entier(), court.contenu.substr(0, 8));
    ASSERT_TRUE(SegmenterFichier(3, court.dossier, court.ing, court.progression));
    EXPECT_TRUE(fs::exists(court.Segment(1)));
    EXPECT_FALSE(fs::exists(court.Segment(2))); // le dernier sera téléchargé

    Banc long_(10, 4);
    EcrireFichier(long_.Entier(), long_.contenu + "0123456789");
    ASSERT_TRUE(SegmenterFichier(3, long_.dossier, long_.ing, long_.progression));
    EXPECT_EQ(LireFichier(long_.Segment(2)), "ij01"); // plus long que prévu, mais valide
    EXPECT_FALSE(fs::exists(long_.Segment(3)));       // aucun segment hors du plan
}

TEST(FichiersSegments, EchecsDeSegmentation) {
    Banc absent(10, 4);
    EXPECT_FALSE(SegmenterFichier(3, absent.dossier, absent.ing, absent.progression));
    EXPECT_EQ(absent.progression.Journal(),
              "Segmentation du fichier sur disque.\r\n" + kLecture + "1).\r\n");

    Banc dossier(10, 4);
    fs::create_directory(dossier.Entier());
    EXPECT_FALSE(SegmenterFichier(3, dossier.dossier, dossier.ing, dossier.progression));
    EXPECT_NE(dossier.progression.Journal().find(kLecture + "1)."), std::string::npos);

    Banc bloque(10, 4);
    EcrireFichier(bloque.Entier(), bloque.contenu);
    fs::create_directory(bloque.Segment(1));
    EXPECT_FALSE(SegmenterFichier(3, bloque.dossier, bloque.ing, bloque.progression));
    EXPECT_EQ(bloque.progression.Journal(), "Segmentation du fichier sur disque.\r\n"
                                            "Segment 1 de 3... \r\nSegment 2 de 3... \r\n" +
                                                kEcriture + "2.\r\n");
}

TEST(FichiersSegments, ConcatenationRemetChaqueSegmentASaPlace) {
    Banc b(10, 4);
    b.EcrireSegments(3);
    EcrireFichier(b.Segment(2), "ijXYZ");            // dernier segment trop long : surplus ignoré
    EcrireFichier(b.Entier(), std::string(50, 'x')); // ancien fichier tronqué
    ASSERT_TRUE(ConcatenerSegments(3, b.dossier, b.ing, b.progression, b.annule));
    EXPECT_EQ(LireFichier(b.Entier()), b.contenu);
    EXPECT_EQ(b.progression.Journal(), "Concaténation des segments.\r\n"
                                       "Segment 1 de 3... \r\nSegment 2 de 3... \r\n"
                                       "Segment 3 de 3... \r\n");
    EXPECT_TRUE(fs::exists(b.Segment(0))); // effacés seulement par EffacerSegments
}

TEST(FichiersSegments, EchecDeConcatenationEffaceLeFichierEntier) {
    Banc dossier(10, 4);
    dossier.EcrireSegments(3);
    fs::remove(dossier.Segment(1));
    fs::create_directory(dossier.Segment(1));
    EXPECT_FALSE(
        ConcatenerSegments(3, dossier.dossier, dossier.ing, dossier.progression, dossier.annule));
    EXPECT_EQ(dossier.progression.Journal(), "Concaténation des segments.\r\n"
                                             "Segment 1 de 3... \r\nSegment 2 de 3... \r\n" +
                                                 kLecture + "3).\r\n");
    EXPECT_FALSE(fs::exists(dossier.Entier()));
    EXPECT_FALSE(fs::exists(NomAssemblage(dossier.dossier, "setup.exe")));
    EXPECT_TRUE(fs::exists(dossier.Segment(0)));

    Banc court(10, 4);
    court.EcrireSegments(3);
    EcrireFichier(court.Segment(2), "i");
    EXPECT_FALSE(ConcatenerSegments(3, court.dossier, court.ing, court.progression, court.annule));
    EXPECT_NE(court.progression.Journal().find("Segment 3 de 3... \r\n" + kLecture + "4).\r\n"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(court.Entier()));
    EXPECT_TRUE(fs::exists(court.Segment(2)));

    Banc cible(10, 4);
    cible.EcrireSegments(3);
    fs::create_directory(cible.Entier());
    EXPECT_FALSE(ConcatenerSegments(3, cible.dossier, cible.ing, cible.progression, cible.annule));
    EXPECT_EQ(cible.progression.Journal(),
              "Concaténation des segments.\r\n" + kEcriture + "3.\r\n");
    EXPECT_TRUE(fs::is_directory(cible.Entier()));
}

TEST(FichiersSegments, AnnulationNeLaisseQueLesSegments) {
    Banc b(10, 4);
    b.EcrireSegments(3);
    b.annule = true;
    EXPECT_FALSE(ConcatenerSegments(3, b.dossier, b.ing, b.progression, b.annule));
    EXPECT_EQ(b.progression.Journal(), "Concaténation des segments.\r\n");
    EXPECT_FALSE(fs::exists(b.Entier()));
    EXPECT_FALSE(fs::exists(NomAssemblage(b.dossier, "setup.exe")));
    EXPECT_TRUE(fs::exists(b.Segment(2)));
}

// Le fichier entier n'est jamais écrit en place : assemblé sous un nom réservé, puis
// renommé ; un lien physique planté sous son nom ou sous celui d'un segment garde
// le contenu de sa cible.
TEST(FichiersSegments, AssemblageRenommeSansEcrireATraversUnLien) {
    Banc b(10, 4);
    EXPECT_EQ(NomAssemblage(b.dossier, "setup.exe"), b.dossier + ".setup.exe.assemblage");
    EcrireFichier(b.tmp / "victime", "précieux");
    fs::create_hard_link(b.tmp / "victime", b.Entier());
    fs::create_hard_link(b.tmp / "victime", b.Segment(0));
    EXPECT_TRUE(EcrireSegment("abcd", 4, b.dossier, b.ing, 0));
    b.EcrireSegments(3);
    EcrireFichier(NomAssemblage(b.dossier, "setup.exe"), "reste d'une exécution tuée");
    ASSERT_TRUE(ConcatenerSegments(3, b.dossier, b.ing, b.progression, b.annule));
    EXPECT_EQ(LireFichier(b.Entier()), b.contenu);
    EXPECT_EQ(LireFichier(b.tmp / "victime"), "précieux");
    EXPECT_FALSE(fs::exists(NomAssemblage(b.dossier, "setup.exe")));

    // Un lien symbolique sous le nom entier reste refusé, sa cible intacte.
    Banc lien(10, 4);
    lien.EcrireSegments(3);
    EcrireFichier(lien.tmp / "cible", "intacte");
    fs::create_symlink(lien.tmp / "cible", lien.Entier());
    EXPECT_FALSE(ConcatenerSegments(3, lien.dossier, lien.ing, lien.progression, lien.annule));
    EXPECT_EQ(lien.progression.Journal(), "Concaténation des segments.\r\n" + kEcriture + "3.\r\n");
    EXPECT_EQ(LireFichier(lien.tmp / "cible"), "intacte");
    EXPECT_TRUE(fs::is_symlink(lien.Entier()));
}

TEST(FichiersSegments, NomsLocauxAdmis) {
    const struct {
        std::string nom;
        bool admis;
    } cas[] = {
        {"setup.exe", true},
        {".cache", true},
        {"a.assemblage", true},
        {".assemblage", true},
        {"", false},
        {".", false},
        {"..", false},
        {"a/b", false},
        {std::string("a\0b", 3), false},
        {".setup.exe.assemblage", false},
    };
    for (const auto& c : cas)
        EXPECT_EQ(NomLocalAdmis(c.nom), c.admis) << c.nom;
}

TEST(FichiersSegments, EffacementDeTousLesSegments) {
    Banc b(10, 4);
    b.EcrireSegments(2); // le troisième manque : compte comme effacé
    EXPECT_TRUE(EffacerSegments(3, b.dossier, b.ing, b.progression));
    EXPECT_FALSE(fs::exists(b.Segment(0)));
    EXPECT_FALSE(fs::exists(b.Segment(1)));
    EXPECT_EQ(b.progression.Journal(), "Effacement des segments temporaires.\r\n");
    EXPECT_TRUE(EffacerSegments(0, b.dossier, b.ing, b.progression));

    Banc plein(10, 4);
    fs::create_directory(plein.Segment(1));
    EcrireFichier(plein.Segment(1) + "/x", "x");
    plein.EcrireSegments(1);
    EcrireFichier(plein.Segment(2), "ij");
    EXPECT_FALSE(EffacerSegments(3, plein.dossier, plein.ing, plein.progression));
    EXPECT_FALSE(fs::exists(plein.Segment(2))); // les suivants sont tentés quand même
}

} // namespace
} // namespace emporteur
