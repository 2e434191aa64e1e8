// Ce que la tâche fait du dossier de destination : une copie à la fois par fichier,
// reste d'assemblage retiré sous le verrou, dossier sans écriture signalé avant tout
// transfert, liens plantés jamais écrits à travers.
#include "BancTache.h"

#include "download/VerrouDestination.h"

#include <fcntl.h>
#include <future>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

namespace emporteur::test {
namespace {

using namespace std::chrono_literals;
using Horloge = std::chrono::steady_clock;

const std::string kAttente = "En attente d'un autre téléchargement du même fichier…";

// Attend qu'une condition devienne vraie, 10 s au plus.
bool AttendreQue(const std::function<bool()>& condition) {
    const auto limite = Horloge::now() + 10s;
    while (!condition() && Horloge::now() < limite)
        std::this_thread::sleep_for(5ms);
    return condition();
}

TEST_F(BancTache, UneSecondeCopieAttendPuisTrouveLeTravailFait) {
    const std::string contenu = Octets(30000);
    Ajouter("a.bin", contenu, 10000);
    ASSERT_EQ(Executer(), 0);
    EXPECT_EQ(serveur.Requetes(), 1);

    VerrouDestination autreCopie;
    ASSERT_TRUE(autreCopie.Essayer(ensemble.Dossier, "a.bin"));
    auto fil = std::async(std::launch::async, TacheTelechargement::ProcedureFil, &Preparer());
    ASSERT_TRUE(
        AttendreQue([&] { return tache->Etat().Journal().find(kAttente) != std::string::npos; }));
    std::this_thread::sleep_for(150ms); // plusieurs tours d'attente : une seule ligne
    EXPECT_EQ(fil.wait_for(0s), std::future_status::timeout);
    autreCopie.Rendre();
    ASSERT_EQ(fil.wait_for(10s), std::future_status::ready);
    EXPECT_EQ(fil.get(), 0);
    const auto lignes = LignesJournal();
    EXPECT_EQ(std::count(lignes.begin(), lignes.end(), kAttente), 1);
    EXPECT_EQ(lignes[1], kAttente);
    EXPECT_EQ(lignes[2], "Segmentation du fichier sur disque.");
    EXPECT_EQ(serveur.Requetes(), 1); // vérifié, rien de redemandé
    EXPECT_EQ(LireFichier(Chemin("a.bin")), contenu);
    EXPECT_EQ(Segments("a.bin"), 0);
}

TEST_F(BancTache, UneAnnulationPendantLAttenteDuVerrouRevientAussitot) {
    Ajouter("a.bin", Octets(3000), 1000);
    VerrouDestination autreCopie;
    ASSERT_TRUE(autreCopie.Essayer(ensemble.Dossier, "a.bin"));
    auto fil = std::async(std::launch::async, TacheTelechargement::ProcedureFil, &Preparer());
    ASSERT_TRUE(
        AttendreQue([&] { return tache->Etat().Journal().find(kAttente) != std::string::npos; }));
    const auto debut = Horloge::now();
    auto annulation = std::async(std::launch::async, [&] { tache->Annuler(); });
    ASSERT_EQ(fil.wait_for(5s), std::future_status::ready);
    EXPECT_LT(Horloge::now() - debut, 1s);
    EXPECT_EQ(fil.get(), 0);
    annulation.get();
    EXPECT_EQ(serveur.Requetes(), 0);
    EXPECT_FALSE(Existe("a.bin"));
}

// Le reste d'un assemblage tué compterait contre l'espace libre : il est retiré avant
// la mesure, sauf s'il appartient à une copie qui tient le fichier.
TEST_F(BancTache, ResteDAssemblageRetireAvantLaMesureDeLEspaceSaufSiTenu) {
    const std::string contenu = Octets(3000);
    Ajouter("a.bin", contenu, 1000);
    Ajouter("b.bin", Octets(2000, 5), 1000);
    const std::string resteA = Assemblage("a.bin");
    const std::string resteB = Assemblage("b.bin");
    EcrireFichier(resteA, "partiel");
    EcrireFichier(resteB, "celui d'une autre copie");
    VerrouDestination autreCopie;
    ASSERT_TRUE(autreCopie.Essayer(ensemble.Dossier, "b.bin"));
    bool resteAVuALaMesure = true, resteBVuALaMesure = false;
    tache = std::make_unique<TacheTelechargement>(&ensemble, &ui);
    tache->RemplacerRequeteEspace([&](const std::string&, std::uint64_t& libre, int&) {
        resteAVuALaMesure = std::filesystem::exists(resteA);
        resteBVuALaMesure = std::filesystem::exists(resteB);
        libre = 0; // la tâche s'arrête là
        return true;
    });
    EXPECT_EQ(tache->ExecuterTache(), 1);
    EXPECT_FALSE(resteAVuALaMesure);
    EXPECT_TRUE(resteBVuALaMesure);
    EXPECT_EQ(LireFichier(resteB), "celui d'une autre copie");
}

// Rend un dossier impossible à écrire, même pour root (attribut immuable) ; le rend
// à la destruction.
class DossierFige {
  public:
    explicit DossierFige(const std::string& chemin) : chemin_(chemin) {
        ::chmod(chemin.c_str(), 0555);
        if (::access(chemin.c_str(), W_OK) != 0) {
            fige_ = true;
            return;
        }
        fd_ = ::open(chemin.c_str(), O_RDONLY | O_DIRECTORY);
        int attributs = 0;
        if (fd_ >= 0 && ::ioctl(fd_, FS_IOC_GETFLAGS, &attributs) == 0) {
            attributs |= FS_IMMUTABLE_FL;
            fige_ = ::ioctl(fd_, FS_IOC_SETFLAGS, &attributs) == 0;
        }
    }
    ~DossierFige() {
        int attributs = 0;
        if (fd_ >= 0 && ::ioctl(fd_, FS_IOC_GETFLAGS, &attributs) == 0) {
            attributs &= ~FS_IMMUTABLE_FL;
            ::ioctl(fd_, FS_IOC_SETFLAGS, &attributs);
        }
        if (fd_ >= 0) ::close(fd_);
        ::chmod(chemin_.c_str(), 0700);
    }
    bool Fige() const { return fige_; }

  private:
    std::string chemin_;
    int fd_ = -1;
    bool fige_ = false;
};

TEST_F(BancTache, DossierSansEcritureSignaleAvantToutTransfert) {
    Ajouter("a.bin", Octets(3000), 1000);
    Ajouter("b.bin", Octets(2000, 5), 1000);
    DossierFige fige(destination.Chemin());
    if (!fige.Fige()) GTEST_SKIP() << "impossible de retirer l'écriture au dossier";
    EXPECT_EQ(Executer(), 1);
    const std::string ligne =
        "Échec de téléchargement : impossible d'écrire dans le dossier de destination.";
    EXPECT_EQ(Journal(), "Initialisation.\r\n" + ligne + "\r\n" + ligne + "\r\n");
    EXPECT_EQ(serveur.Requetes(), 0);
    EXPECT_FALSE(ensemble.Fichiers[0]->EstReussi);
    EXPECT_FALSE(ensemble.Fichiers[1]->EstReussi);
}

// Un lien planté sous le nom du fichier entier, d'un segment ou de l'assemblage : sa
// cible garde son contenu ; un lien physique est remplacé, un lien symbolique refusé,
// sauf sous le nom réservé de l'assemblage, qui est retiré.
TEST_F(BancTache, LiensPlantesDansLeDossierJamaisEcritsATravers) {
    enum class Nom { Entier, Segment, Assemblage };
    const struct {
        const char* cas;
        bool symbolique;
        Nom nom;
        int resultat;
    } cas[] = {
        {"lien physique, fichier entier", false, Nom::Entier, 0},
        {"lien physique, segment", false, Nom::Segment, 0},
        {"lien physique, assemblage", false, Nom::Assemblage, 0},
        {"lien symbolique, fichier entier", true, Nom::Entier, 1},
        {"lien symbolique, segment", true, Nom::Segment, 1},
        {"lien symbolique, assemblage", true, Nom::Assemblage, 0},
    };
    const std::string contenu = Octets(3000);
    Ajouter("f.bin", contenu, 1000);
    for (const auto& c : cas) {
        SCOPED_TRACE(c.cas);
        std::filesystem::remove_all(destination.Chemin());
        std::filesystem::create_directories(destination.Chemin());
        const std::string victime = environnement.Racine() / "victime";
        EcrireFichier(victime, "précieux");
        const std::string lien = c.nom == Nom::Segment ? Segment("f.bin", 1)
                                 : c.nom == Nom::Assemblage
                                     ? Assemblage("f.bin")
                                     : Chemin("f.bin");
        if (c.symbolique)
            std::filesystem::create_symlink(victime, lien);
        else
            std::filesystem::create_hard_link(victime, lien);
        EXPECT_EQ(Executer(), c.resultat) << Journal();
        EXPECT_EQ(LireFichier(victime), "précieux");
        if (c.resultat == 0) {
            EXPECT_EQ(LireFichier(Chemin("f.bin")), contenu);
        }
    }
}

} // namespace
} // namespace emporteur::test
