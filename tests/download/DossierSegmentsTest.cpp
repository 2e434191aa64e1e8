#include "download/DossierSegments.h"
#include "download/Crc32.h"
#include "outils/DossierTemporaire.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace emporteur {
namespace {

namespace fs = std::filesystem;
using test::DossierTemporaire;
using test::EcrireFichier;
using test::LireFichier;

using Genre = IssueDisque::Genre;

// Fichier "setup.exe" de `taille` octets en segments de `segment` octets.
struct Banc {
    DossierTemporaire tmp;
    std::string dossier = tmp.Chemin() + "/";
    std::string contenu;
    DossierSegments magasin;

    Banc(std::uint32_t taille, std::uint32_t segment)
        : magasin(dossier, PlanSegments(taille, segment), "setup.exe") {
        for (std::uint32_t i = 0; i < taille; ++i)
            contenu += static_cast<char>('a' + i % 26);
    }
    std::string Entier() const { return dossier + "setup.exe"; }
    std::string Segment(std::uint32_t i) const { return magasin.NomSegment(i); }
    void EcrireSegments(std::uint32_t nombre) {
        const auto& plan = magasin.Plan();
        for (std::uint32_t i = 0; i < nombre; ++i)
            EcrireFichier(Segment(i), contenu.substr(plan.Debut(i), plan.Longueur(i)));
    }
    // Fin complète, chaque segment de la source dite ; la première issue en échec.
    IssueDisque Finir(SourceSegment source = SourceSegment::Fichier) {
        IssueDisque r = magasin.CommencerFin();
        for (std::uint32_t d = 0; r.Reussie() && d < magasin.Plan().Nombre(); ++d)
            r = magasin.FinirSegment(d, source);
        return r.Reussie() ? magasin.Publier() : r;
    }
};

TEST(DossierSegments, NomsEtMessages) {
    Banc b(10, 4);
    EXPECT_EQ(b.magasin.NomSegment(0), b.dossier + "setup.exe.0");
    EXPECT_EQ(b.magasin.NomSegment(12), b.dossier + "setup.exe.12");
    EXPECT_EQ(b.magasin.NomAssemblage(), b.dossier + ".setup.exe.assemblage");
    EXPECT_EQ(MessageDisque({Genre::Lecture, 3, 0}),
              "Échec de téléchargement : impossible de lire sur le disque (code 3).");
    EXPECT_EQ(MessageDisque({Genre::Ecriture, 1, 0}),
              "Échec de téléchargement : impossible d'écrire sur le disque : erreur code 1.");
    EXPECT_EQ(MessageDisque({Genre::Systeme, 0, ENOSPC}),
              "Échec de téléchargement : CException(espace disque insuffisant).");
}

TEST(DossierSegments, LectureExigeAuMoinsLaLongueurDuSegment) {
    Banc b(10, 4);
    EXPECT_TRUE(b.magasin.EcrireSegment(0, "abcd", 4));
    EXPECT_EQ(LireFichier(b.Segment(0)), "abcd");
    EXPECT_TRUE(b.magasin.EcrireSegment(0, "xy", 2)); // remplace l'ancien
    EXPECT_EQ(LireFichier(b.Segment(0)), "xy");

    char tampon[4] = {};
    EcrireFichier(b.Segment(1), "efghZZZ"); // plus long : valide, surplus ignoré
    EXPECT_TRUE(b.magasin.LireSegment(1, tampon));
    EXPECT_EQ(Crc32(0, tampon, 4), Crc32(0, "efgh", 4));
    EXPECT_FALSE(b.magasin.LireSegment(0, tampon)); // plus court
    EXPECT_FALSE(b.magasin.LireSegment(5, tampon)); // hors du plan, absent
    fs::create_directory(b.Segment(2));
    EXPECT_FALSE(b.magasin.LireSegment(2, tampon));
    EXPECT_FALSE(b.magasin.EcrireSegment(2, "ij", 2));
    // Un lien symbolique ne mène pas l'écriture hors du dossier.
    fs::create_symlink(b.tmp / "ailleurs", b.Segment(3));
    EXPECT_FALSE(b.magasin.EcrireSegment(3, "ij", 2));
    EXPECT_FALSE(fs::exists(b.tmp / "ailleurs"));
}

// Ce que l'on trouve sous le nom entier décide de la fin : réparation sur place d'un
// fichier ordinaire à un seul nom, assemblage renommé sinon.
TEST(DossierSegments, FichierEntierTrouve) {
    const struct {
        const char* cas;
        int genre; // 0 absent, 1 fichier, 2 lien physique, 3 dossier
        DossierSegments::Entier attendu;
    } cas[] = {
        {"absent", 0, DossierSegments::Entier::Absent},
        {"ordinaire", 1, DossierSegments::Entier::Modifiable},
        {"lié deux fois", 2, DossierSegments::Entier::LectureSeule},
        {"dossier", 3, DossierSegments::Entier::Illisible},
    };
    for (const auto& c : cas) {
        Banc b(10, 4);
        if (c.genre == 1 || c.genre == 2) EcrireFichier(b.Entier(), b.contenu);
        if (c.genre == 2) fs::create_hard_link(b.Entier(), b.tmp / "autre");
        if (c.genre == 3) fs::create_directory(b.Entier());
        EXPECT_EQ(b.magasin.OuvrirEntier(), c.attendu) << c.cas;
        EXPECT_EQ(b.magasin.ReparationSurPlace(), c.attendu == DossierSegments::Entier::Modifiable)
            << c.cas;
    }
}

// Réparation sur place : seuls les segments venus d'un fichier de segment sont écrits,
// le surplus d'un fichier trop long est retiré ; le fichier garde son inode.
TEST(DossierSegments, ReparationNEcritQueLesSegmentsRecus) {
    Banc b(10, 4);
    EcrireFichier(b.Entier(), "abcdXXXXij0123");
    struct stat avant {}, apres {};
    ::stat(b.Entier().c_str(), &avant);
    ASSERT_EQ(b.magasin.OuvrirEntier(), DossierSegments::Entier::Modifiable);
    EcrireFichier(b.Segment(1), "efgh");
    EcrireFichier(b.Segment(0), "ZZZZ"); // ignoré : le segment 0 vient du fichier entier
    ASSERT_TRUE(b.magasin.CommencerFin().Reussie());
    EXPECT_TRUE(b.magasin.FinirSegment(0, SourceSegment::Entier).Reussie());
    EXPECT_TRUE(b.magasin.FinirSegment(1, SourceSegment::Fichier).Reussie());
    EXPECT_TRUE(b.magasin.FinirSegment(2, SourceSegment::Entier).Reussie());
    EXPECT_TRUE(b.magasin.Publier().Reussie());
    EXPECT_EQ(LireFichier(b.Entier()), b.contenu);
    ::stat(b.Entier().c_str(), &apres);
    EXPECT_EQ(apres.st_ino, avant.st_ino);
    EXPECT_FALSE(fs::exists(b.magasin.NomAssemblage()));
    EXPECT_TRUE(b.magasin.EffacerSegments());
    EXPECT_FALSE(fs::exists(b.Segment(1)));
}

TEST(DossierSegments, AssemblageRemetChaqueSegmentASaPlace) {
    Banc b(10, 4);
    b.EcrireSegments(3);
    EcrireFichier(b.Segment(2), "ijXYZ"); // dernier segment trop long : surplus ignoré
    EXPECT_TRUE(b.Finir().Reussie());
    EXPECT_EQ(LireFichier(b.Entier()), b.contenu);
    EXPECT_TRUE(fs::exists(b.Segment(0))); // effacés seulement par EffacerSegments
    EXPECT_FALSE(fs::exists(b.magasin.NomAssemblage()));
}

// Un échec de fin rend l'étape du journal, retire l'assemblage et garde les segments ;
// un dossier ou un lien symbolique sous le nom entier reste tel quel.
TEST(DossierSegments, EchecsDeFin) {
    const struct {
        const char* cas;
        int panne; // 1 segment en dossier, 2 segment court, 3 dossier entier, 4 lien entier
        Genre genre;
        int code;
    } cas[] = {
        {"segment illisible", 1, Genre::Lecture, 3},
        {"segment court", 2, Genre::Lecture, 4},
        {"dossier sous le nom", 3, Genre::Ecriture, 3},
        {"lien sous le nom", 4, Genre::Ecriture, 3},
    };
    for (const auto& c : cas) {
        Banc b(10, 4);
        b.EcrireSegments(3);
        if (c.panne == 1) {
            fs::remove(b.Segment(1));
            fs::create_directory(b.Segment(1));
        }
        if (c.panne == 2) EcrireFichier(b.Segment(2), "i");
        if (c.panne == 3) fs::create_directory(b.Entier());
        if (c.panne == 4) {
            EcrireFichier(b.tmp / "cible", "intacte");
            fs::create_symlink(b.tmp / "cible", b.Entier());
        }
        {
            const IssueDisque r = b.Finir();
            EXPECT_EQ(r.genre, c.genre) << c.cas;
            EXPECT_EQ(r.code, c.code) << c.cas;
        }
        EXPECT_TRUE(fs::exists(b.Segment(0))) << c.cas;
        if (c.panne == 4) {
            EXPECT_EQ(LireFichier(b.tmp / "cible"), "intacte");
        }
        if (c.panne <= 2) {
            EXPECT_FALSE(fs::exists(b.Entier())) << c.cas;
        }
    }
}

TEST(DossierSegments, FinInterrompueNeLaissePasDAssemblage) {
    Banc b(10, 4);
    b.EcrireSegments(3);
    {
        DossierSegments magasin(b.dossier, PlanSegments(10, 4), "setup.exe");
        ASSERT_TRUE(magasin.CommencerFin().Reussie());
        EXPECT_TRUE(magasin.FinirSegment(0, SourceSegment::Fichier).Reussie());
        EXPECT_TRUE(fs::exists(magasin.NomAssemblage()));
    } // détruit sans Publier
    EXPECT_FALSE(fs::exists(b.magasin.NomAssemblage()));
    EXPECT_FALSE(fs::exists(b.Entier()));
    EXPECT_TRUE(fs::exists(b.Segment(2)));
}

// Un lien physique planté sous le nom entier ou sous celui d'un segment garde le
// contenu de sa cible : le fichier entier est assemblé à part, puis renommé.
TEST(DossierSegments, AssemblageRenommeSansEcrireATraversUnLien) {
    Banc b(10, 4);
    EcrireFichier(b.tmp / "victime", "précieux");
    fs::create_hard_link(b.tmp / "victime", b.Entier());
    fs::create_hard_link(b.tmp / "victime", b.Segment(0));
    EXPECT_TRUE(b.magasin.EcrireSegment(0, "abcd", 4));
    b.EcrireSegments(3);
    EcrireFichier(b.magasin.NomAssemblage(), "reste d'une exécution tuée");
    ASSERT_TRUE(b.magasin.PreparerAssemblage());
    EXPECT_EQ(b.magasin.OuvrirEntier(), DossierSegments::Entier::LectureSeule);
    EXPECT_TRUE(b.Finir().Reussie());
    EXPECT_EQ(LireFichier(b.Entier()), b.contenu);
    EXPECT_EQ(LireFichier(b.tmp / "victime"), "précieux");
    EXPECT_FALSE(fs::exists(b.magasin.NomAssemblage()));
}

TEST(DossierSegments, NomsLocauxAdmis) {
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

TEST(DossierSegments, EffacementDeTousLesSegments) {
    Banc b(10, 4);
    b.EcrireSegments(2); // le troisième manque : compte comme effacé
    EXPECT_TRUE(b.magasin.EffacerSegments());
    EXPECT_FALSE(fs::exists(b.Segment(0)));
    EXPECT_FALSE(fs::exists(b.Segment(1)));

    Banc plein(10, 4);
    fs::create_directory(plein.Segment(1));
    EcrireFichier(plein.Segment(1) + "/x", "x");
    plein.EcrireSegments(1);
    EcrireFichier(plein.Segment(2), "ij");
    EXPECT_FALSE(plein.magasin.EffacerSegments());
    EXPECT_FALSE(fs::exists(plein.Segment(2))); // les suivants sont tentés quand même
}

} // namespace
} // namespace emporteur
