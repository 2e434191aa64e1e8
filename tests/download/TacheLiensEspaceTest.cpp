// Liens symboliques jamais suivis dans le dossier de destination (même entre deux
// vrais utilisateurs), permissions des fichiers neufs, et espace libre demandé pour
// la seule part qui manque.
#include "BancTache.h"

#include "download/NomCache.h"

#include <cstdlib>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace emporteur::test {
namespace {

namespace fs = std::filesystem;

const std::string kLigneLien = " » est un lien symbolique ; rien n'est lu ni écrit à travers un "
                               "lien dans le dossier de destination.";

// Un lien vers un fichier dont le contenu est exactement celui attendu : le suivre
// le ferait passer pour déjà téléchargé, ou ses octets finiraient dans le dossier.
TEST_F(BancTache, LienSymboliqueSousUnNomANousRefuseSansEtreLu) {
    const struct {
        const char* cas;
        std::string nom;
    } cas[] = {{"fichier entier", "f.bin"},
               {"premier segment", "f.bin.0"},
               {"dernier segment", "f.bin.2"}};
    const std::string contenu = Octets(3000);
    Ajouter("f.bin", contenu, 1000);
    for (const auto& c : cas) {
        SCOPED_TRACE(c.cas);
        fs::remove_all(destination.Chemin());
        fs::create_directories(destination.Chemin());
        const std::string victime = environnement.Racine() / "victime";
        const std::string attendu = c.nom == "f.bin" ? contenu : contenu.substr(0, 1000);
        EcrireFichier(victime, attendu);
        fs::create_symlink(victime, Chemin(c.nom));
        const int requetes = serveur.Requetes();
        EXPECT_EQ(Executer(), 1);
        EXPECT_TRUE(Contient(LignesJournal(), "Échec de téléchargement : « " + c.nom + kLigneLien))
            << Journal();
        EXPECT_EQ(serveur.Requetes(), requetes);
        EXPECT_EQ(LireFichier(victime), attendu);
        EXPECT_TRUE(fs::is_symlink(Chemin(c.nom)));
        // Rien d'autre que le lien (et un éventuel verrou caché) dans le dossier.
        for (const auto& e : fs::directory_iterator(destination.Chemin()))
            EXPECT_TRUE(e.path().filename() == c.nom ||
                        e.path().filename().string().ends_with(".verrou"))
                << e.path();
    }
}

// Les fichiers neufs ont les permissions que le masque de l'utilisateur donne à un
// fichier ordinaire, jamais plus larges.
TEST_F(BancTache, FichiersNeufsSelonLeMasqueDeLUtilisateur) {
    const std::string contenu = Octets(3000);
    Ajouter("f.bin", contenu, 1000);
    for (const mode_t masque : {022, 077, 002}) {
        SCOPED_TRACE(masque);
        fs::remove_all(destination.Chemin());
        fs::create_directories(destination.Chemin());
        const mode_t ancien = ::umask(masque);
        // Le fichier publié, et un fichier de segment écrit directement.
        const int resultat = Executer();
        DossierSegments magasin(ensemble.Dossier, PlanSegments(3000, 1000), "g.bin");
        const bool ecrit = magasin.EcrireSegment(0, contenu.data(), 1000);
        ::umask(ancien);
        ASSERT_EQ(resultat, 0) << Journal();
        ASSERT_TRUE(ecrit);
        for (const std::string& nom : {Chemin("f.bin"), magasin.NomSegment(0)}) {
            struct stat st {};
            ASSERT_EQ(::stat(nom.c_str(), &st), 0) << nom;
            EXPECT_EQ(st.st_mode & 07777, 0666 & ~masque) << nom;
        }
    }
}

// Fait tourner `corps` sous un autre utilisateur ; son code de sortie.
int SousUtilisateur(uid_t uid, gid_t gid, const std::function<int()>& corps) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0) _exit(90);
        _exit(corps());
    }
    int statut = 0;
    if (pid < 0 || ::waitpid(pid, &statut, 0) != pid || !WIFEXITED(statut)) return -1;
    return WEXITSTATUS(statut);
}

// Dans un dossier partagé en écriture de groupe, un autre utilisateur plante un lien
// vers le fichier privé (0600) de celui qui télécharge : rien n'en sort.
TEST_F(BancTache, DeuxUtilisateursLienVersUnFichierPriveNeFuitPas) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "il faut être root pour changer d'utilisateur dans le test";
    constexpr uid_t kTelechargeur = 65534, kAutre = 65533;
    constexpr gid_t kGroupe = 65534;
    const std::string contenu = Octets(3000);
    Ajouter("med6.bin", contenu, 1000);
    char modele[] = "/tmp/emporteur-deux-XXXXXX";
    ASSERT_NE(::mkdtemp(modele), nullptr);
    const std::string base = modele;
    const std::string partage = base + "/partage", prive = base + "/prive";
    fs::create_directories(partage);
    fs::create_directories(prive);
    ::chmod(base.c_str(), 0755);
    ASSERT_EQ(::chown(partage.c_str(), 0, kGroupe), 0);
    ::chmod(partage.c_str(), 02770);
    ASSERT_EQ(::chown(prive.c_str(), kTelechargeur, kGroupe), 0);
    ::chmod(prive.c_str(), 0700);
    const std::string secret = prive + "/secret";
    // Le secret a le contenu attendu : le lire ferait croire le fichier déjà là.
    EcrireFichier(secret, contenu);
    ASSERT_EQ(::chown(secret.c_str(), kTelechargeur, kGroupe), 0);
    ::chmod(secret.c_str(), 0600);
    ensemble.Dossier = partage + "/";

    EXPECT_EQ(SousUtilisateur(kAutre, kGroupe,
                              [&] {
                                  return ::symlink(secret.c_str(),
                                                   (partage + "/med6.bin").c_str()) == 0
                                             ? 0
                                             : 1;
                              }),
              0);
    EXPECT_EQ(SousUtilisateur(kTelechargeur, kGroupe,
                              [&] {
                                  ::umask(022);
                                  const int r = Executer();
                                  const bool ligne =
                                      Contient(LignesJournal(),
                                               "Échec de téléchargement : « med6.bin" + kLigneLien);
                                  return r == 1 && ligne ? 0 : 2 + r;
                              }),
              0);
    EXPECT_EQ(serveur.Requetes(), 0);
    EXPECT_EQ(LireFichier(secret), contenu);
    for (const auto& e : fs::directory_iterator(partage)) {
        if (fs::is_symlink(e.symlink_status())) continue;
        EXPECT_TRUE(e.path().filename().string().ends_with(".verrou")) << e.path();
        EXPECT_EQ(LireFichier(e.path()).find(contenu.substr(0, 1000)), std::string::npos);
    }
    fs::remove_all(base);
}

// L'espace demandé est le double de ce qui manque : segments justes et fichier entier
// juste comptent comme déjà là ; un fichier complet et juste ne manque jamais de place.
TEST_F(BancTache, EspaceLibreNeCompteQueLaPartManquante) {
    enum class Disque { Rien, CinqSegments, CinqDontUnFaux, EntierJuste, DebutDEntier };
    const struct {
        const char* cas;
        Disque disque;
        std::uint64_t libre;
        int resultat;
    } cas[] = {
        {"rien, juste assez", Disque::Rien, 12000, 0},
        {"rien, un octet de moins", Disque::Rien, 11999, 1},
        {"cinq segments sur six, juste assez", Disque::CinqSegments, 2000, 0},
        {"cinq segments sur six, un octet de moins", Disque::CinqSegments, 1999, 1},
        {"un segment faux compte comme manquant", Disque::CinqDontUnFaux, 3999, 1},
        {"un segment faux, juste assez", Disque::CinqDontUnFaux, 4000, 0},
        {"fichier entier juste, aucune place", Disque::EntierJuste, 0, 0},
        {"moitié du fichier entier, juste assez", Disque::DebutDEntier, 6000, 0},
        {"moitié du fichier entier, un octet de moins", Disque::DebutDEntier, 5999, 1},
    };
    const std::string contenu = Octets(6000);
    Ajouter("f.bin", contenu, 1000);
    for (const auto& c : cas) {
        SCOPED_TRACE(c.cas);
        fs::remove_all(destination.Chemin());
        fs::create_directories(destination.Chemin());
        if (c.disque == Disque::CinqSegments || c.disque == Disque::CinqDontUnFaux)
            for (std::uint32_t i = 0; i < 5; ++i)
                EcrireFichier(Segment("f.bin", i), contenu.substr(i * 1000, 1000));
        if (c.disque == Disque::CinqDontUnFaux) EcrireFichier(Segment("f.bin", 2), "faux");
        if (c.disque == Disque::EntierJuste) EcrireFichier(Chemin("f.bin"), contenu);
        if (c.disque == Disque::DebutDEntier)
            EcrireFichier(Chemin("f.bin"), contenu.substr(0, 3000));
        Preparer();
        tache->RemplacerRequeteEspace([&](const std::string&, std::uint64_t& libre, int&) {
            libre = c.libre;
            return true;
        });
        const int requetes = serveur.Requetes();
        EXPECT_EQ(tache->ExecuterTache(), c.resultat) << Journal();
        EXPECT_EQ(Contient(LignesJournal(), "Échec de téléchargement : espace disque insuffisant."),
                  c.resultat == 1);
        if (c.resultat == 0) {
            EXPECT_EQ(LireFichier(Chemin("f.bin")), contenu);
        } else {
            EXPECT_EQ(serveur.Requetes(), requetes);
        }
        if (c.disque == Disque::EntierJuste) {
            EXPECT_EQ(serveur.Requetes(), requetes);
        }
    }
}

} // namespace
} // namespace emporteur::test

namespace emporteur::test {
namespace {

// Noms cachés tenus sous 255 octets, abrégés sur un début de caractère, et distincts
// pour deux noms qui ne diffèrent qu'après la coupe.
TEST(NomCache, LimiteDesNomsRespectee) {
    const std::string accents = std::string(199, 'a') + "éèàù" + std::string(60, 'z');
    // 1 + 243 + ".assemblage" = 255 octets : la limite exacte.
    const std::string cas[] = {"a.bin",
                               std::string(243, 'x'),
                               std::string(244, 'x'),
                               std::string(247, 'x'),
                               std::string(248, 'x'),
                               std::string(250, 'x'),
                               accents};
    for (const auto& c : cas) {
        for (const std::string_view suffixe : {kSuffixeAssemblage, kSuffixeVerrou}) {
            const std::string nom = NomCache(c, suffixe);
            const bool abrege = 1 + c.size() + suffixe.size() > kLongueurNomMax;
            SCOPED_TRACE(nom.size());
            EXPECT_LE(nom.size(), kLongueurNomMax);
            EXPECT_TRUE(nom.starts_with(".") && nom.ends_with(suffixe));
            EXPECT_EQ(nom == "." + c + std::string(suffixe), !abrege);
            // Coupé juste avant un début de caractère UTF-8, jamais au milieu.
            const auto coupe = nom.find('~') - 1;
            if (abrege) {
                ASSERT_LT(coupe, c.size());
                EXPECT_NE(static_cast<unsigned char>(c[coupe]) & 0xC0, 0x80u);
            }
        }
    }
    EXPECT_NE(NomCache(std::string(250, 'x'), kSuffixeAssemblage),
              NomCache(std::string(249, 'x') + "y", kSuffixeAssemblage));
}

// Un nom local de 250 caractères se télécharge, se reprend après un assemblage laissé,
// et ne laisse rien de caché derrière lui.
TEST_F(BancTache, NomLocalDe250CaracteresSeTelecharge) {
    const std::string nom = std::string(246, 'n') + ".bin";
    const std::string contenu = Octets(5000);
    Ajouter(nom, contenu, 1000);
    EXPECT_EQ(Executer(), 0) << Journal();
    EXPECT_EQ(LireFichier(Chemin(nom)), contenu);
    // Reste d'une exécution tuée sous le nom abrégé : retiré, puis nouvelle copie.
    fs::remove(Chemin(nom));
    EcrireFichier(ensemble.Dossier + NomCache(nom, kSuffixeAssemblage), "reste");
    EcrireFichier(Segment(nom, 0), contenu.substr(0, 1000));
    EXPECT_EQ(Executer(), 0) << Journal();
    EXPECT_EQ(LireFichier(Chemin(nom)), contenu);
    for (const auto& e : fs::directory_iterator(destination.Chemin()))
        EXPECT_EQ(e.path().filename(), nom);
}

} // namespace
} // namespace emporteur::test
