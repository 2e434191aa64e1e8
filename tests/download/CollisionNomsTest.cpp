// Un ensemble dont deux fichiers se disputeraient un nom du dossier de destination est
// refusé avant tout transfert, sans rien effacer ; le verrou ne s'ouvre jamais en grand.
#include "BancTache.h"

#include "download/CollisionNoms.h"
#include "download/NomCache.h"
#include "download/VerrouDestination.h"

#include <sys/stat.h>

namespace emporteur::test {
namespace {

struct CasCollision {
    std::vector<std::pair<std::string, std::int32_t>> fichiers; // nom local, taille
    std::optional<std::pair<std::string, std::string>> attendu;
};

TEST(CollisionNoms, NomsQuiSeConfondent) {
    using P = std::pair<std::string, std::string>;
    const CasCollision cas[] = {
        {{{"a.bin", 30}, {"b.bin", 30}}, std::nullopt},
        {{{"a.bin", 30}, {"a.bin", 30}}, P{"a.bin", "a.bin"}},
        // Segments 0, 1, 2 de a.bin (30 octets en segments de 10) ; 3 n'en est pas un.
        {{{"a.bin", 30}, {"a.bin.1", 30}}, P{"a.bin", "a.bin.1"}},
        {{{"a.bin.2", 30}, {"a.bin", 30}}, P{"a.bin", "a.bin.2"}},
        {{{"a.bin", 30}, {"a.bin.3", 30}}, std::nullopt},
        {{{"a.bin", 30}, {"a.bin.01", 30}}, std::nullopt},
        // Un nom de la forme d'un assemblage est refusé à lui seul, sans gêner l'autre.
        {{{"a.bin", 30}, {".a.bin.assemblage", 30}}, std::nullopt},
        {{{"a.bin", 30}, {".a.bin.verrou", 30}}, P{"a.bin", ".a.bin.verrou"}},
        {{{"x", 30}, {"y", 30}, {"x.0", 30}}, P{"x", "x.0"}},
        // Nom de 250 octets : ses noms cachés sont abrégés, et c'est sous cette forme
        // qu'un autre nom peut les prendre.
        {{{std::string(250, 'n'), 30}, {NomCache(std::string(250, 'n'), ".verrou"), 30}},
         P{std::string(250, 'n'), NomCache(std::string(250, 'n'), ".verrou")}},
        {{{std::string(250, 'n'), 30}, {"." + std::string(250, 'n') + ".verrou", 30}},
         std::nullopt},
        // Refusé pour son plan (taille nulle) : il n'écrit rien, il ne dispute rien.
        {{{"a.bin", 30}, {"a.bin", 0}}, std::nullopt},
    };
    for (const auto& c : cas) {
        EnsembleFichiers ensemble;
        for (const auto& [nom, taille] : c.fichiers) {
            auto ing = std::make_unique<Ingredient>();
            ing->NomLocal = nom;
            ing->Taille = taille;
            ing->TailleSegment = 10;
            ing->Crcs.assign(PlanSegments(*ing).Nombre(), 0);
            ensemble.Fichiers.push_back(std::move(ing));
        }
        EXPECT_EQ(ChercherCollisionNoms(ensemble), c.attendu) << c.fichiers[1].first.substr(0, 40);
    }
}

TEST_F(BancTache, EnsembleEnCollisionRefuseSansRienEffacerNiDemander) {
    const std::string a = Octets(30000, 1), a1 = Octets(20000, 2);
    Ajouter("x.bin", a, 10000);
    Ajouter("x.bin.1", a1, 10000);
    EcrireFichier(Chemin("x.bin.1"), a1); // déjà complet : jamais pris pour un segment
    EXPECT_EQ(Executer(), 1);
    EXPECT_EQ(serveur.Requetes(), 0);
    EXPECT_EQ(LireFichier(Chemin("x.bin.1")), a1);
    EXPECT_FALSE(Existe("x.bin"));
    EXPECT_TRUE(Contient(LignesJournal(), MessageCollisionNoms("x.bin", "x.bin.1")));
    for (const auto& f : ensemble.Fichiers)
        EXPECT_FALSE(f->EstReussi);
}

// Sans dossier de verrous à soi (celui de $XDG_RUNTIME_DIR et celui de $TMPDIR sont
// des liens), le verrou se pose à côté du fichier ; s'il ne peut pas s'y poser non
// plus, le fichier est refusé au lieu d'être téléchargé sans verrou.
TEST_F(BancTache, VerrouSansDossierPriveSePoseACoteOuRefuse) {
    DossierTemporaire ailleurs;
    std::filesystem::create_directory_symlink(ailleurs.Chemin(), environnement.Execution() + "/emporteur");
    VariableTemporaire tmp("TMPDIR", ailleurs.Chemin());
    std::filesystem::create_directory_symlink(
        ailleurs.Chemin(), ailleurs / ("emporteur-" + std::to_string(::geteuid())));
    EXPECT_EQ(VerrouDestination::CheminVerrou(ensemble.Dossier, "a.bin"), Chemin(".a.bin.verrou"));

    const std::string contenu = Octets(3000);
    Ajouter("a.bin", contenu, 1000);
    VerrouDestination autreCopie;
    ASSERT_TRUE(autreCopie.Essayer(ensemble.Dossier, "a.bin"));
    VerrouDestination second;
    EXPECT_FALSE(second.Essayer(ensemble.Dossier, "a.bin")); // le verrou voisin tient
    autreCopie.Rendre();
    ASSERT_EQ(Executer(), 0);
    EXPECT_EQ(LireFichier(Chemin("a.bin")), contenu);

    // Un lien à la place du verrou voisin : ni suivi, ni pris pour un verrou.
    std::filesystem::remove(Chemin(".a.bin.verrou"));
    std::filesystem::remove(Chemin("a.bin"));
    std::filesystem::create_symlink(ailleurs / "cible", Chemin(".a.bin.verrou"));
    EXPECT_EQ(Executer(), 1);
    EXPECT_FALSE(Existe("a.bin"));
    EXPECT_FALSE(std::filesystem::exists(ailleurs / "cible"));
    EXPECT_EQ(serveur.Requetes(), 1);
    EXPECT_TRUE(LignesJournal().back().starts_with("Échec de téléchargement : impossible de réserver"))
        << Journal();
}

TEST(VerrouDestination, NomVoisinDansLaLimiteDesNoms) {
    EXPECT_EQ(VerrouDestination::NomVerrouVoisin("a.exe"), ".a.exe.verrou");
    std::string long_;
    while (long_.size() < 250)
        long_ += "é";
    const std::string nom = VerrouDestination::NomVerrouVoisin(long_);
    EXPECT_LE(nom.size(), 255u);
    EXPECT_NE(nom, VerrouDestination::NomVerrouVoisin(long_ + "x"));
    EXPECT_TRUE(nom.ends_with(".verrou"));
}

} // namespace
} // namespace emporteur::test

namespace emporteur::test {
namespace {

TEST_F(BancTache, DestinationQuiEstUnFichierDitCeQuElleEst) {
    Ajouter("a.bin", Octets(3000), 1000);
    EcrireFichier(destination / "fichier", "x");
    ensemble.Dossier = destination / "fichier/";
    EXPECT_EQ(Executer(), 1);
    EXPECT_EQ(serveur.Requetes(), 0);
    EXPECT_TRUE(Contient(LignesJournal(), "Échec de téléchargement : la destination « " +
                                              ensemble.Dossier + " » n'est pas un dossier."))
        << Journal();
}

} // namespace
} // namespace emporteur::test
