// Réparation d'un fichier entier déjà présent : vérifié en le lisant, seuls ses
// segments mauvais ou manquants passent par le réseau, et ils sont écrits à leur
// place sans récrire les bons. Serveur qui ignore les plages : un seul corps.
#include "BancTache.h"

#include <sys/stat.h>

namespace emporteur::test {
namespace {

ino_t Inode(const std::string& chemin) {
    struct stat st {};
    return ::stat(chemin.c_str(), &st) == 0 ? st.st_ino : 0;
}

std::uint64_t OctetsServis(const std::vector<PlageServie>& plages) {
    std::uint64_t n = 0;
    for (const auto& p : plages)
        n += p.fin - p.debut + 1;
    return n;
}

// Chaque cas part d'un fichier de 20 segments abîmé d'une façon ; la fin est le bon
// fichier, et seules les plages attendues ont été servies.
TEST_F(BancTache, ReparationDuFichierEntierSansRecrireLesBonsSegments) {
    constexpr std::uint32_t kSegment = 1000;
    const std::string contenu = Octets(20 * kSegment - 300, 21);
    const struct {
        const char* cas;
        std::string entier;
        bool lienPhysique;
        std::vector<PlageServie> plages;
        bool surPlace;
    } cas[] = {
        {"un octet inversé", [&] { auto s = contenu; s[7500] ^= 1; return s; }(), false,
         {{7000, 7999, 206}}, true},
        {"tronqué", contenu.substr(0, 12500), false, {{12000, 19699, 206}}, true},
        {"trop long", contenu + "reste", false, {}, true},
        {"intact", contenu, false, {}, true},
        // Un autre nom du même fichier ne doit pas changer : assemblé à part et renommé.
        {"lié ailleurs", [&] { auto s = contenu; s[300] ^= 1; return s; }(), true,
         {{0, 999, 206}}, false},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.cas);
        ensemble.Fichiers.clear();
        std::filesystem::remove_all(destination.Chemin());
        std::filesystem::create_directories(destination.Chemin());
        Ajouter("f.bin", contenu, kSegment);
        serveur.OublierRequetes();
        EcrireFichier(Chemin("f.bin"), c.entier);
        if (c.lienPhysique) std::filesystem::create_hard_link(Chemin("f.bin"), Chemin("autre"));
        const ino_t avant = Inode(Chemin("f.bin"));
        EXPECT_EQ(Executer(), 0) << Journal();
        EXPECT_EQ(LireFichier(Chemin("f.bin")), contenu);
        EXPECT_EQ(serveur.Plages("/rep/f.bin"), c.plages);
        EXPECT_EQ(Inode(Chemin("f.bin")) == avant, c.surPlace);
        if (c.lienPhysique) {
            EXPECT_EQ(LireFichier(Chemin("autre")), c.entier);
        }
        EXPECT_EQ(Segments("f.bin"), 0);
        EXPECT_FALSE(std::filesystem::exists(Assemblage("f.bin")));
        const auto lignes = LignesJournal();
        EXPECT_EQ(lignes[1], "Segmentation du fichier sur disque.");
        EXPECT_TRUE(Contient(lignes, "Segment 20 de 20... réussi."));
        EXPECT_TRUE(Contient(lignes, "Concaténation des segments."));
        EXPECT_EQ(lignes.back(), "Effacement des segments temporaires.");
    }
}

// Un segment laissé par une réparation interrompue compte, même si sa place dans le
// fichier entier est encore fausse (ou à moitié écrite).
TEST_F(BancTache, SegmentLaisseParUneReparationInterrompueEstGarde) {
    const std::string contenu = Octets(5000, 22);
    Ajouter("f.bin", contenu, 1000);
    std::string abime = contenu;
    for (std::size_t i = 2000; i < 2500; ++i)
        abime[i] = static_cast<char>(contenu[i] ^ 0x5A); // moitié récrite, moitié fausse
    abime[4200] ^= 1;
    EcrireFichier(Chemin("f.bin"), abime);
    EcrireFichier(Segment("f.bin", 2), contenu.substr(2000, 1000));
    EXPECT_EQ(Executer(), 0) << Journal();
    EXPECT_EQ(serveur.Plages("/rep/f.bin"), (std::vector<PlageServie>{{4000, 4999, 206}}));
    EXPECT_EQ(LireFichier(Chemin("f.bin")), contenu);
    EXPECT_EQ(Segments("f.bin"), 0);
}

// Serveur qui ignore les plages : le premier 200 donne chaque segment à recevoir du
// fichier, vérifié au passage ; aucune autre requête, et le journal reste dans l'ordre
// des segments, comme avec des plages.
TEST_F(BancTache, UnServeurSansPlagesNeCouteQuUnCorpsParFichier) {
    constexpr std::uint32_t kSegment = 1000, kNombre = 20;
    const std::string contenu = Octets(kNombre * kSegment, 23);
    const struct {
        const char* cas;
        std::vector<std::uint32_t> manquants; // les autres segments sont là
        bool entierPresent;
    } cas[] = {
        {"deux segments abîmés d'un fichier complet", {3, 16}, true},
        {"dix manquants", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, false},
        {"un sur deux", {1, 3, 5, 7, 9, 11, 13, 15, 17, 19}, false},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.cas);
        ensemble.Fichiers.clear();
        std::filesystem::remove_all(destination.Chemin());
        std::filesystem::create_directories(destination.Chemin());
        Ajouter("f.bin", contenu, kSegment);
        serveur.IgnorerPlage("/rep/f.bin");
        serveur.OublierRequetes();
        std::string entier = contenu;
        for (std::uint32_t i = 0; i < kNombre; ++i) {
            const bool manque = std::count(c.manquants.begin(), c.manquants.end(), i) > 0;
            if (manque) entier[i * kSegment + 10] ^= 1;
            if (!c.entierPresent && !manque)
                EcrireFichier(Segment("f.bin", i), contenu.substr(i * kSegment, kSegment));
        }
        if (c.entierPresent) EcrireFichier(Chemin("f.bin"), entier);
        EXPECT_EQ(Executer(), 0) << Journal();
        EXPECT_EQ(LireFichier(Chemin("f.bin")), contenu);
        EXPECT_EQ(serveur.Requetes("/rep/f.bin"), 1);
        EXPECT_LE(OctetsServis(serveur.Plages("/rep/f.bin")), contenu.size() * 11 / 10);
        const auto lignes = LignesJournal();
        auto suivante = lignes.begin();
        for (std::uint32_t i = 1; i <= kNombre; ++i) {
            const std::string ligne =
                "Segment " + std::to_string(i) + " de 20... réussi.";
            suivante = std::find(suivante, lignes.end(), ligne);
            EXPECT_NE(suivante, lignes.end()) << ligne << "\n" << Journal();
        }
    }
}

// Un corps entier coupé en route : ce qui est passé reste, la requête suivante reprend
// le reste (un nouveau corps, le serveur n'offrant rien d'autre).
TEST_F(BancTache, CorpsEntierCoupeGardeCeQuiEstPasse) {
    const std::string contenu = Octets(10000, 24);
    Ajouter("f.bin", contenu, 1000);
    serveur.IgnorerPlage("/rep/f.bin");
    serveur.CouperApres("/rep/f.bin", 4500, 1);
    EXPECT_EQ(Executer(), 0) << Journal();
    EXPECT_EQ(LireFichier(Chemin("f.bin")), contenu);
    EXPECT_EQ(serveur.Requetes("/rep/f.bin"), 2);
    const auto lignes = LignesJournal();
    EXPECT_TRUE(Contient(lignes, "Segment 4 de 10... réussi.")) << Journal();
    EXPECT_EQ(attentes.size(), 1u);
}

} // namespace
} // namespace emporteur::test
