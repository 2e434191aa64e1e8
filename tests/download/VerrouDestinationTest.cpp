// Verrou d'un fichier de destination : hors du dossier de l'utilisateur, commun à
// deux chemins du même dossier, rendu par le noyau quand le processus meurt.
#include "download/VerrouDestination.h"
#include "outils/DossierTemporaire.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace emporteur {
namespace {

namespace fs = std::filesystem;
using test::DossierTemporaire;
using test::EnvironnementIsole;
using test::VariableTemporaire;

struct BancVerrou : ::testing::Test {
    EnvironnementIsole environnement;
    DossierTemporaire destination;
    std::string dossier = destination.Chemin() + "/";
};

TEST_F(BancVerrou, FichierDeVerrouHorsDuDossierNommeDApresLInodeEtLeNom) {
    const std::string chemin = VerrouDestination::CheminVerrou(dossier, "set up.exe");
    struct stat st {};
    ASSERT_EQ(::stat(destination.Chemin().c_str(), &st), 0);
    EXPECT_EQ(chemin, environnement.Execution() + "/emporteur/" + std::to_string(st.st_dev) + "-" +
                          std::to_string(st.st_ino) + "-set%20up.exe.verrou");
    EXPECT_EQ(fs::status(environnement.Execution() + "/emporteur").permissions(),
              fs::perms::owner_all);
    // Un autre chemin du même dossier mène au même verrou ; un autre nom, à un autre.
    fs::create_directory_symlink(destination.Chemin(), environnement.Racine() / "raccourci");
    EXPECT_EQ(VerrouDestination::CheminVerrou(environnement.Racine() / "raccourci/", "set up.exe"),
              chemin);
    EXPECT_NE(VerrouDestination::CheminVerrou(dossier, "autre.exe"), chemin);
    const std::string long_(400, 'n');
    EXPECT_LT(fs::path(VerrouDestination::CheminVerrou(dossier, long_)).filename().string().size(),
              255u);
    EXPECT_EQ(VerrouDestination::CheminVerrou(dossier + "absent/", "a"), "");
    EXPECT_TRUE(fs::is_empty(destination.Chemin())); // rien dans le dossier de l'utilisateur
}

TEST_F(BancVerrou, RepliSurUnDossierPriveDeTmp) {
    const char* temporaire = std::getenv("TMPDIR");
    const std::string repli = std::string(temporaire && temporaire[0] == '/' ? temporaire : "/tmp") +
                              "/emporteur-" + std::to_string(::geteuid());
    for (const std::optional<std::string>& valeur :
         {std::optional<std::string>(), std::optional<std::string>("relatif")}) {
        VariableTemporaire execution("XDG_RUNTIME_DIR", valeur);
        const std::string chemin = VerrouDestination::CheminVerrou(dossier, "a.exe");
        EXPECT_TRUE(chemin.starts_with(repli + "/")) << chemin;
        struct stat st {};
        ASSERT_EQ(::lstat(repli.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        EXPECT_EQ(st.st_uid, ::geteuid());
    }
    // Un dossier de verrous qui n'est pas un dossier à nous n'est pas pris.
    test::EcrireFichier(environnement.Execution() + "/emporteur", "occupé");
    EXPECT_TRUE(VerrouDestination::CheminVerrou(dossier, "a.exe").starts_with(repli + "/"));
}

TEST_F(BancVerrou, LeNoyauRendLeVerrouDUnProcessusTue) {
    int tube[2];
    ASSERT_EQ(::pipe(tube), 0);
    const pid_t enfant = ::fork();
    ASSERT_GE(enfant, 0);
    if (enfant == 0) {
        VerrouDestination v;
        const char pret = v.Essayer(dossier, "a.exe") ? '1' : '0';
        (void)!::write(tube[1], &pret, 1);
        ::pause();
        ::_exit(0);
    }
    char pret = 0;
    ASSERT_EQ(::read(tube[0], &pret, 1), 1);
    EXPECT_EQ(pret, '1');
    VerrouDestination v, autre;
    EXPECT_FALSE(v.Essayer(dossier, "a.exe"));
    EXPECT_TRUE(autre.Essayer(dossier, "b.exe")); // un autre fichier ne gêne pas
    ::kill(enfant, SIGKILL);
    ::waitpid(enfant, nullptr, 0);
    EXPECT_TRUE(v.Essayer(dossier, "a.exe"));
    ::close(tube[0]);
    ::close(tube[1]);
}

} // namespace
} // namespace emporteur
