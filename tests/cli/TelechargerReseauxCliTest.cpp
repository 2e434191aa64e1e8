// emporteur-cli telecharger face aux réseaux d'entreprise et aux serveurs mal réglés :
// cache qui garde un ancien fichier, autorité privée, mandataire à identifiants,
// compression imposée, filet d'octets.
#include "outils/AutoritePrivee.h"
#include "outils/DossierTemporaire.h"
#include "outils/MandataireSquid.h"
#include "outils/MandataireTinyproxy.h"
#include "outils/Processus.h"
#include "outils/ServeurDefaillant.h"
#include "outils/ServeurNginx.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace emporteur::test {
namespace {

using namespace std::chrono_literals;

std::size_t Occurrences(const std::string& texte, const std::string& motif) {
    std::size_t n = 0;
    for (auto p = texte.find(motif); p != std::string::npos; p = texte.find(motif, p + 1))
        ++n;
    return n;
}

class TelechargerReseaux : public ::testing::Test {
  protected:
    // Un fichier servi sous /rep/<nom> (depuis `racine`), décrit par le programme lui-même.
    void Publier(const std::string& nom, const std::string& contenu, int segment,
                 const std::string& site) {
        EcrireFichier(racine / ("rep/" + nom), contenu);
        const auto r =
            ExecuterCli({"ingredient", racine / ("rep/" + nom), std::to_string(segment), "--cle",
                         "k", "--site", site, "--rep", "rep", "--distant", nom, "--local", nom});
        ASSERT_EQ(r.code, 0) << r.erreurs;
        EcrireFichier(catalogue / "RecettesOrthalis",
                      "2.1.0.0\n ver=\"1.0.0.0\" produit=\"Essai 2\" verMaj=\"2.0.0.0\" "
                      "titre=\"Essai\" des=\"Essai\" cles=\"k\"\n");
        EcrireFichier(catalogue / "IngredientsOrthalis", "2.1.0.0\n" + r.sortie);
        EcrireFichier(catalogue / "IngredientsBoutique", "boutique\n");
    }

    ResultatProcessus Telecharger(const std::string& dossier,
                                  const std::vector<std::string>& options = {},
                                  const std::map<std::string, std::string>& env = {}) {
        std::vector<std::string> args = {"telecharger", "--catalogue", catalogue.Chemin(),
                                         "--recette",   "0",           "--dossier",
                                         dossier};
        args.insert(args.end(), options.begin(), options.end());
        return Executer(EMPORTEUR_CLI, args, env);
    }

    EnvironnementIsole environnement;
    VariableTemporaire proxy_{"HTTP_PROXY", std::nullopt}, tous_{"all_proxy", std::nullopt},
        paquet_{"CURL_CA_BUNDLE", std::nullopt}, fichier_{"SSL_CERT_FILE", std::nullopt},
        dossierCa_{"SSL_CERT_DIR", std::nullopt};
    DossierTemporaire racine, catalogue, destination;
};

TEST_F(TelechargerReseaux, LeCacheQuiGardeLAncienFichierEstContourneApresUnSegmentCorrompu) {
    if (!SquidPresent()) GTEST_SKIP() << "squid absent (scripts/installer.sh l'installe)";
    const std::string ancien = OctetsReproductibles(300000, 1);
    const std::string nouveau = OctetsReproductibles(300000, 2);
    ServeurNginx nginx(racine.Chemin());
    MandataireSquid squid;
    const std::vector<std::string> parSquid = {"--proxy",
                                               "127.0.0.1:" + std::to_string(squid.Port())};
    const auto vieillir = [&](std::chrono::hours age) {
        std::filesystem::last_write_time(racine / "rep/f.bin",
                                         std::filesystem::file_time_type::clock::now() - age);
    };
    Publier("f.bin", ancien, 100000, nginx.Hote());
    vieillir(std::chrono::hours(24 * 30));
    DossierTemporaire premier;
    ASSERT_EQ(Telecharger(premier.Chemin(), parSquid).code, 0);
    // Remplacé sous le même nom, avec un nouveau catalogue ; le cache garde l'ancien.
    Publier("f.bin", nouveau, 100000, nginx.Hote());
    vieillir(std::chrono::hours(24 * 10));
    const auto r = Telecharger(destination.Chemin(), parSquid);
    EXPECT_EQ(r.code, 0) << r.erreurs << squid.Journal();
    EXPECT_EQ(LireFichier(destination / "f.bin"), nouveau);
    EXPECT_EQ(Occurrences(r.erreurs, "Téléchargement corrompu : reprise du segment."), 1u)
        << r.erreurs;
    // Le cache a bien servi l'ancienne copie, puis est allé chercher la nouvelle.
    const std::string journal = squid.Journal();
    const auto servieDuCache = journal.find("TCP_MEM_HIT");
    ASSERT_NE(servieDuCache, std::string::npos) << journal;
    EXPECT_NE(journal.find("TCP_MISS", servieDuCache), std::string::npos) << journal;
}

TEST_F(TelechargerReseaux, LAutoritePriveeSeDonneParCacertEtSonAbsenceEchoueSansReprise) {
    AutoritePrivee autorite;
    ServeurNginx nginx(racine.Chemin(), autorite.DirectivesNginx(), " ssl");
    const std::string contenu = OctetsReproductibles(50000, 4);
    Publier("f.bin", contenu, 20000, "https://" + nginx.Hote());

    const auto debut = std::chrono::steady_clock::now();
    auto r = Telecharger(destination.Chemin());
    EXPECT_EQ(r.code, 1);
    EXPECT_LT(std::chrono::steady_clock::now() - debut, 10s); // aucune attente de reprise
    EXPECT_NE(r.erreurs.find("Segment 1 de 3... Erreur de téléchargement : \"Le certificat de "
                            "sécurité du serveur n'est pas valide.\" code = 23.\n"),
              std::string::npos)
        << r.erreurs;
    EXPECT_EQ(Occurrences(r.erreurs, "Segment 1 de 3..."), 1u) << r.erreurs;

    r = Telecharger(destination.Chemin(), {"--cacert", autorite.CertificatAutorite()});
    EXPECT_EQ(r.code, 0) << r.erreurs;
    EXPECT_EQ(LireFichier(destination / "f.bin"), contenu);

    r = Telecharger(destination.Chemin(), {"--cacert", racine / "absent.pem"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.erreurs, "Fichier des autorités de certification illisible : " +
                             (racine / "absent.pem") + "\n");
}

TEST_F(TelechargerReseaux, LesIdentifiantsDuMandataireSeDonnentSansJamaisSAfficher) {
    ServeurNginx nginx(racine.Chemin());
    MandataireTinyproxy mandataire("passe", "muraille");
    const std::string hote = "127.0.0.1:" + std::to_string(mandataire.Port());
    const std::string contenu = OctetsReproductibles(30000, 5);
    Publier("f.bin", contenu, 10000, nginx.Hote());
    struct Cas {
        const char* nom;
        std::vector<std::string> options;
        std::map<std::string, std::string> env;
    };
    const std::vector<Cas> cas = {
        {"ligne de commande", {"--proxy", "passe:muraille@" + hote}, {}},
        {"http_proxy", {}, {{"http_proxy", "http://passe:muraille@" + hote + "/"}}},
        {"http_proxy et --proxy", {"--proxy", hote}, {{"http_proxy", "passe:muraille@" + hote}}},
    };
    for (const auto& c : cas) {
        DossierTemporaire dossier;
        const auto r = Telecharger(dossier.Chemin(), c.options, c.env);
        EXPECT_EQ(r.code, 0) << c.nom << "\n" << r.sortie << r.erreurs;
        EXPECT_EQ(LireFichier(dossier / "f.bin"), contenu) << c.nom;
        EXPECT_EQ(r.erreurs.find("authentification"), std::string::npos) << c.nom;
        EXPECT_EQ((r.sortie + r.erreurs).find("muraille"), std::string::npos) << c.nom;
    }
    // Sans identifiants et sans terminal : la question nomme le mandataire, puis le refus.
    const auto r = Telecharger(destination.Chemin(), {}, {{"http_proxy", "http://" + hote}});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.erreurs.find("Le serveur mandataire demande une authentification : http://" + hote +
                             "\n"),
              std::string::npos)
        << r.erreurs;
    EXPECT_NE(r.erreurs.find("Erreur de téléchargement : accès refusé."), std::string::npos);
    // Une erreur d'usage ne montre pas le mot de passe.
    const auto usage = Telecharger(destination.Chemin(), {"--proxy", "passe:muraille@cache:x"});
    EXPECT_EQ(usage.code, 2);
    EXPECT_EQ(usage.erreurs, "Mandataire attendu sous la forme HOTE:PORT : cache:x\n");
}

// emporteur-cli dont l'entrée et la sortie d'erreur sont un terminal : on y lit ce
// qu'il écrit (et ce que le terminal renvoie en écho), on y tape des réponses.
class SurTerminal {
  public:
    explicit SurTerminal(std::vector<std::string> arguments, const std::string& sortie) {
        maitre_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (maitre_ < 0 || ::grantpt(maitre_) != 0 || ::unlockpt(maitre_) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, ::ptsname(maitre_), O_RDWR, 0);
        posix_spawn_file_actions_addopen(&actions, 1, sortie.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_adddup2(&actions, 0, 2);
        arguments.insert(arguments.begin(), EMPORTEUR_CLI);
        std::vector<char*> argv;
        for (auto& a : arguments)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        if (::posix_spawn(&pid_, EMPORTEUR_CLI, &actions, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~SurTerminal() {
        if (pid_ > 0 && code_ < -1) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (maitre_ >= 0) ::close(maitre_);
    }
    bool Lance() const { return pid_ > 0; }
    // Lit le terminal jusqu'à voir `texte` (vrai) ou la fin du délai (faux).
    bool AttendreTexte(const std::string& texte, std::chrono::seconds delai = 30s) {
        const auto limite = std::chrono::steady_clock::now() + delai;
        while (ecran_.find(texte) == std::string::npos) {
            if (std::chrono::steady_clock::now() > limite) return false;
            Lire(50);
        }
        return true;
    }
    void Taper(const std::string& ligne) {
        const std::string l = ligne + "\n";
        EXPECT_EQ(::write(maitre_, l.data(), l.size()), static_cast<ssize_t>(l.size()));
    }
    // Code de sortie, -1 au-delà du délai ; le terminal est vidé en attendant.
    int Attendre(std::chrono::seconds delai = 60s) {
        const auto limite = std::chrono::steady_clock::now() + delai;
        while (code_ < -1 && std::chrono::steady_clock::now() < limite) {
            Lire(20);
            int etat = 0;
            if (::waitpid(pid_, &etat, WNOHANG) == pid_)
                code_ = WIFEXITED(etat) ? WEXITSTATUS(etat) : -1;
        }
        Lire(0);
        return code_ < -1 ? -1 : code_;
    }
    const std::string& Ecran() const { return ecran_; }

  private:
    void Lire(int attente) {
        pollfd p{maitre_, POLLIN, 0};
        char tampon[4096];
        while (::poll(&p, 1, attente) > 0 && (p.revents & POLLIN)) {
            const auto n = ::read(maitre_, tampon, sizeof tampon);
            if (n <= 0) break;
            ecran_.append(tampon, static_cast<std::size_t>(n));
            attente = 0;
        }
    }
    int maitre_ = -1;
    pid_t pid_ = -1;
    int code_ = -2;
    std::string ecran_;
};

TEST_F(TelechargerReseaux, SurUnTerminalLesIdentifiantsDuMandataireSontDemandesSansEcho) {
    ServeurNginx nginx(racine.Chemin());
    MandataireTinyproxy mandataire("passe", "muraille");
    const std::string hote = "127.0.0.1:" + std::to_string(mandataire.Port());
    const std::string contenu = OctetsReproductibles(30000, 8);
    Publier("f.bin", contenu, 10000, nginx.Hote());
    SurTerminal terminal({"telecharger", "--catalogue", catalogue.Chemin(), "--recette", "0",
                          "--dossier", destination.Chemin(), "--proxy", hote},
                         racine / "sortie");
    ASSERT_TRUE(terminal.Lance());
    ASSERT_TRUE(terminal.AttendreTexte("Le serveur mandataire demande une authentification : "
                                       "http://" +
                                       hote))
        << terminal.Ecran();
    ASSERT_TRUE(terminal.AttendreTexte("Utilisateur : ")) << terminal.Ecran();
    terminal.Taper("passe");
    ASSERT_TRUE(terminal.AttendreTexte("Mot de passe : ")) << terminal.Ecran();
    terminal.Taper("muraille");
    EXPECT_EQ(terminal.Attendre(), 0) << terminal.Ecran() << LireFichier(racine / "sortie");
    EXPECT_EQ(LireFichier(destination / "f.bin"), contenu);
    EXPECT_NE(terminal.Ecran().find("passe"), std::string::npos); // l'utilisateur, en écho
    EXPECT_EQ(terminal.Ecran().find("muraille"), std::string::npos) << terminal.Ecran();
    EXPECT_EQ(LireFichier(racine / "sortie").find("muraille"), std::string::npos);
}

TEST_F(TelechargerReseaux, UnServeurQuiCompresseQuandMemeEchoueAussitotEnLeDisant) {
    ServeurDefaillant serveur;
    const std::string contenu = OctetsReproductibles(30000, 6);
    Publier("f.bin", contenu, 10000, serveur.Hote());
    serveur.AjouterFichier("/rep/f.bin", contenu);
    serveur.Encoder("/rep/f.bin", "gzip");
    serveur.IgnorerPlage("/rep/f.bin");
    const auto r = Telecharger(destination.Chemin());
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.erreurs.find("Segment 1 de 3... Échec de téléchargement : le serveur envoie le "
                            "fichier compressé (Content-Encoding : gzip).\n"),
              std::string::npos)
        << r.erreurs;
    EXPECT_EQ(serveur.Requetes("/rep/f.bin"), 1); // aucune reprise dépensée
}

TEST_F(TelechargerReseaux, UnFiletDOctetsFinitAvecSesLignes) {
    ServeurDefaillant serveur;
    const std::string contenu = OctetsReproductibles(30000, 7);
    Publier("f.bin", contenu, 10000, serveur.Hote());
    serveur.AjouterFichier("/rep/f.bin", contenu);
    serveur.Ralentir("/rep/f.bin", 1, 1000ms); // un octet par seconde
    const auto debut = std::chrono::steady_clock::now();
    const auto r = Telecharger(destination.Chemin(), {}, {{"EMPORTEUR_DELAI_LENTEUR", "3"}});
    const auto duree = std::chrono::steady_clock::now() - debut;
    EXPECT_EQ(r.code, 1);
    EXPECT_LE(duree, 70s);
    EXPECT_EQ(Occurrences(r.erreurs, "Erreur de téléchargement : \"Transfert trop lent : moins de "
                                    "1 Kio/s pendant 3 s.\" code = 29."),
              3u)
        << r.erreurs;
    EXPECT_NE(r.erreurs.find("atteinte du nombre maximal d'erreurs de transfert (3)."),
              std::string::npos);
}

} // namespace
} // namespace emporteur::test
