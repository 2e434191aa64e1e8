// emporteur-cli telecharger de bout en bout : un catalogue local rédigé avec
// « emporteur-cli ingredient », servi par nginx ou par le serveur défaillant.
#include "cli/LigneProgression.h"
#include "outils/DossierTemporaire.h"
#include "outils/Processus.h"
#include "outils/ServeurDefaillant.h"
#include "outils/ServeurNginx.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <poll.h>
#include <random>
#include <regex>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace emporteur::test {
namespace {

using namespace std::chrono_literals;
using Horloge = std::chrono::steady_clock;

std::string Octets(std::size_t taille, std::uint32_t graine) {
    return OctetsReproductibles(taille, graine);
}

// Un processus emporteur-cli lancé à part, pour lui envoyer un signal ; stdout dans un
// fichier, stderr dans un fichier ou sur un terminal.
class Enfant {
  public:
    Enfant(const std::vector<std::string>& arguments, const std::string& sortie,
           const std::string& erreurs) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, sortie.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_addopen(&actions, 2, erreurs.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        std::vector<std::string> tous{EMPORTEUR_CLI};
        tous.insert(tous.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (auto& a : tous)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        if (::posix_spawn(&pid_, EMPORTEUR_CLI, &actions, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Enfant() {
        if (pid_ > 0 && !fini_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    pid_t Pid() const { return pid_; }
    // kill -9, puis attente de la fin.
    void Tuer() {
        if (pid_ <= 0 || fini_) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        fini_ = true;
    }
    // Code de sortie si le processus a fini, sinon nullopt, sans attendre.
    std::optional<int> Fini() {
        int etat = 0;
        if (!fini_ && ::waitpid(pid_, &etat, WNOHANG) == pid_) {
            fini_ = true;
            code_ = WIFEXITED(etat) ? WEXITSTATUS(etat) : -1;
        }
        return fini_ ? std::optional<int>(code_) : std::nullopt;
    }
    // Code de sortie, ou -1 si le processus n'a pas fini dans le délai.
    int Attendre(std::chrono::seconds delai, const std::function<void()>& pendant = {}) {
        const auto limite = Horloge::now() + delai;
        while (Horloge::now() < limite) {
            if (pendant) pendant();
            if (const auto code = Fini()) return *code;
            std::this_thread::sleep_for(20ms);
        }
        return -1;
    }

  private:
    pid_t pid_ = -1;
    bool fini_ = false;
    int code_ = -1;
};

class CommandeTelecharger : public ::testing::Test {
  protected:
    CommandeTelecharger() { std::filesystem::create_directories(racine / "rep"); }

    // Fichier servi sous /rep/<nom> (nginx le lit dans `racine`), ligne d'ingrédients
    // rédigée par le programme lui-même.
    void Ajouter(const std::string& nom, const std::string& contenu, int segment,
                 const std::string& site) {
        EcrireFichier(racine / ("rep/" + nom), contenu);
        const std::string cle = "k" + std::to_string(nombre++);
        const auto r =
            ExecuterCli({"ingredient", racine / ("rep/" + nom), std::to_string(segment), "--cle",
                         cle, "--site", site, "--rep", "rep", "--distant", nom, "--local", nom});
        ASSERT_EQ(r.code, 0) << r.erreurs;
        lignes += r.sortie;
        cles += (cles.empty() ? "" : " ") + cle;
    }

    std::string EcrireCatalogue() {
        EcrireFichier(catalogue / "RecettesOrthalis",
                      "2.1.0.0\n ver=\"1.0.0.0\" produit=\"Essai 2\" verMaj=\"2.0.0.0\" "
                      "titre=\"Essai\" des=\"Fichiers d'essai\" cles=\"" +
                          cles + "\"\n");
        EcrireFichier(catalogue / "IngredientsOrthalis", "2.1.0.0\n" + lignes);
        EcrireFichier(catalogue / "IngredientsBoutique", "boutique\n");
        return catalogue.Chemin();
    }

    ResultatProcessus Telecharger() {
        return ExecuterCli({"telecharger", "--catalogue", EcrireCatalogue(), "--recette", "0",
                            "--dossier", destination.Chemin()});
    }

    EnvironnementIsole environnement;
    VariableTemporaire proxy_{"HTTP_PROXY", std::nullopt}, tous_{"all_proxy", std::nullopt};
    DossierTemporaire racine, catalogue, destination;
    std::string lignes, cles;
    int nombre = 0;
};

TEST_F(CommandeTelecharger, TroisFichiersParNginxPuisRepriseDUnFichierAbime) {
    ServeurNginx nginx(racine.Chemin());
    const std::string a = Octets(250000, 1), b = Octets(1000, 2), c = Octets(70000, 3);
    Ajouter("a.bin", a, 100000, nginx.Hote());
    Ajouter("b.bin", b, 4096, nginx.Hote());
    Ajouter("c.bin", c, 65536, nginx.Hote());
    auto r = Telecharger();
    EXPECT_EQ(r.code, 0) << r.erreurs;
    // Pas de terminal : le journal seul, sans ligne redessinée, sur la sortie d'erreur ;
    // le bilan sur la sortie standard.
    EXPECT_EQ(r.erreurs.find('\r'), std::string::npos);
    EXPECT_TRUE(r.erreurs.starts_with("Initialisation.\nTéléchargement...\nSegment 1 de 3... "
                                      "réussi.\n"))
        << r.erreurs;
    EXPECT_TRUE(r.erreurs.ends_with("Effacement des segments temporaires.\n")) << r.erreurs;
    EXPECT_NE(r.erreurs.find("Segment 3 de 3... réussi.\n"), std::string::npos);
    const std::regex bilan("a\\.bin : Réussi \\(3 segments reçus, 0 déjà présents, 0,25 Mo en "
                           "[0-9]+,[0-9] s\\)\n"
                           "b\\.bin : Réussi \\(1 segments reçus, 0 déjà présents, 0,00 Mo en "
                           "[0-9]+,[0-9] s\\)\n"
                           "c\\.bin : Réussi \\(2 segments reçus, 0 déjà présents, 0,07 Mo en "
                           "[0-9]+,[0-9] s\\)\n");
    EXPECT_TRUE(std::regex_match(r.sortie, bilan)) << r.sortie;
    EXPECT_EQ(LireFichier(destination / "a.bin"), a);
    EXPECT_EQ(LireFichier(destination / "b.bin"), b);
    EXPECT_EQ(LireFichier(destination / "c.bin"), c);

    // Un octet abîmé : seul son segment repasse par le réseau.
    std::string abime = a;
    abime[150000] = static_cast<char>(~abime[150000]);
    EcrireFichier(destination / "a.bin", abime);
    const auto avant = nginx.JournalAcces().size();
    r = Telecharger();
    EXPECT_EQ(r.code, 0) << r.erreurs;
    EXPECT_TRUE(r.sortie.starts_with("a.bin : Réussi (1 segments reçus, 2 déjà présents, 0,10 Mo"))
        << r.sortie;
    EXPECT_EQ(LireFichier(destination / "a.bin"), a);
    const auto journal = nginx.JournalAcces().substr(avant);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), '\n'), 1) << journal;
    EXPECT_NE(journal.find("\"bytes=100000-199999\""), std::string::npos) << journal;
    EXPECT_NE(r.erreurs.find("Segmentation du fichier sur disque.\n"), std::string::npos);
}

TEST_F(CommandeTelecharger, UnFichierEnEchecDonneLeCode1) {
    ServeurNginx nginx(racine.Chemin());
    Ajouter("present.bin", Octets(3000, 4), 1000, nginx.Hote());
    Ajouter("retire.bin", Octets(3000, 5), 1000, nginx.Hote());
    std::filesystem::remove(racine / "rep/retire.bin");
    const auto r = Telecharger();
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.erreurs.find("Segment 1 de 3... Erreur de téléchargement : fichier introuvable.\n"),
              std::string::npos)
        << r.erreurs;
    EXPECT_NE(r.sortie.find("present.bin : Réussi (3 segments reçus"), std::string::npos)
        << r.sortie;
    EXPECT_NE(r.sortie.find("\nretire.bin : Échec (0 segments reçus, 0 déjà présents"),
              std::string::npos)
        << r.sortie;

    // Catalogue illisible ou élément absent : pas de téléchargement, code 1.
    EXPECT_EQ(ExecuterCli({"telecharger", "--catalogue", racine / "rien", "--recette", "0"}).code,
              1);
    EXPECT_EQ(ExecuterCli({"telecharger", "--catalogue", catalogue.Chemin(), "--recette", "7",
                           "--dossier", destination.Chemin()})
                  .code,
              1);
}

TEST_F(CommandeTelecharger, UnNumeroOuUnPortQuiNEstPasUnEntierEstUneErreurDUsage) {
    ServeurDefaillant serveur;
    Ajouter("f.bin", Octets(1000, 7), 1000, serveur.Hote());
    const std::string dossier = EcrireCatalogue();
    const struct {
        std::vector<std::string> options;
        const char* message;
    } cas[] = {
        {{"--recette", "abc"}, "Numéro d'élément attendu après --recette : abc\n"},
        {{"--recette", "0x"}, "Numéro d'élément attendu après --recette : 0x\n"},
        {{"--recette", ""}, "Numéro d'élément attendu après --recette : \n"},
        {{"--recette", "4294967296"}, "Numéro d'élément attendu après --recette : 4294967296\n"},
        {{"--recette", "0", "--proxy", "cache:abc"},
         "Mandataire attendu sous la forme HOTE:PORT : cache:abc\n"},
        {{"--recette", "0", "--connexions", "0"}, "Nombre de connexions attendu de 1 à 8 : 0\n"},
        {{"--recette", "0", "--connexions", "9"}, "Nombre de connexions attendu de 1 à 8 : 9\n"},
        {{"--recette", "0", "--connexions", "4x"}, "Nombre de connexions attendu de 1 à 8 : 4x\n"},
    };
    for (const auto& c : cas) {
        std::vector<std::string> args = {"telecharger", "--catalogue", dossier, "--dossier",
                                         destination.Chemin()};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const auto r = ExecuterCli(args);
        EXPECT_EQ(r.code, 2) << c.options[1];
        EXPECT_EQ(r.erreurs, c.message);
        EXPECT_EQ(r.sortie, "");
    }
    EXPECT_EQ(serveur.Requetes(), 0); // rien n'est téléchargé
}

// Formes « --opt=valeur », options exclusives, indices hors limites : refusés avant
// tout transfert, avec un message qui nomme la faute.
TEST_F(CommandeTelecharger, FormesDesOptionsEtRefus) {
    ServeurDefaillant serveur;
    Ajouter("f.bin", Octets(1000, 7), 1000, serveur.Hote());
    const std::string dossier = EcrireCatalogue();
    const struct {
        std::vector<std::string> options;
        int code;
        const char* erreurs; // début de la sortie d'erreur
    } cas[] = {
        {{"--recette", "0", "--version", "6.1.0.0"},
         2,
         "Les options --recette et --version s'excluent l'une l'autre.\n"},
        {{"--version=6.1.0.0", "--mise-a-niveau"},
         2,
         "Les options --version et --mise-a-niveau s'excluent l'une l'autre.\n"},
        {{"--recette=0", "--mise-a-niveau=oui"},
         2,
         "L'option --mise-a-niveau ne prend pas de valeur\n"},
        {{"--recette=0", "--vitesse=2"}, 2, "Option inconnue : --vitesse\n"},
        {{"--recette=abc"}, 2, "Numéro d'élément attendu après --recette : abc\n"},
        {{"--recette", "99"},
         1,
         "Indice d'élément hors limites : 99 (le catalogue en compte 1, de 0 à 0).\n"},
        {{"--recette=-1"},
         1,
         "Indice d'élément hors limites : -1 (le catalogue en compte 1, de 0 à 0).\n"},
    };
    for (const auto& c : cas) {
        std::vector<std::string> args = {"telecharger", "--catalogue=" + dossier, "--dossier",
                                         destination.Chemin()};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const auto r = ExecuterCli(args);
        SCOPED_TRACE(c.options.back());
        EXPECT_EQ(r.code, c.code);
        EXPECT_TRUE(r.erreurs.starts_with(c.erreurs)) << r.erreurs;
        EXPECT_EQ(r.sortie, "");
    }
    EXPECT_EQ(serveur.Requetes(), 0); // rien n'est téléchargé

    // Discret : rien sur un succès ; sur un échec, le journal sur la sortie d'erreur.
    serveur.AjouterFichier("/rep/f.bin", Octets(1000, 7));
    auto r = ExecuterCli({"telecharger", "-q", "--catalogue", dossier, "--recette=0",
                          "--dossier=" + destination.Chemin()});
    EXPECT_EQ(r.code, 0) << r.erreurs;
    EXPECT_EQ(r.sortie + r.erreurs, "");
    std::filesystem::remove_all(destination.Chemin());
    serveur.RepondreStatut("/rep/f.bin", 404);
    r = ExecuterCli({"telecharger", "--quiet", "--catalogue", dossier, "--recette=0",
                     "--dossier=" + destination.Chemin()});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.sortie, "");
    EXPECT_NE(r.erreurs.find("Initialisation.\n"), std::string::npos) << r.erreurs;
    EXPECT_NE(r.erreurs.find("f.bin : Échec ("), std::string::npos) << r.erreurs;
}

// Hors terminal et en JSON : aucune ligne redessinée, une ligne de progression simple
// toutes les 10 s dans le journal, un seul objet JSON sur la sortie standard.
TEST_F(CommandeTelecharger, HorsTerminalProgressionSimpleEtJson) {
    ServeurDefaillant serveur;
    const std::string contenu = Octets(24000, 9);
    Ajouter("long.bin", contenu, 8000, serveur.Hote());
    serveur.AjouterFichier("/rep/long.bin", contenu);
    serveur.Ralentir("/rep/long.bin", 1000, 700ms); // 11 s environ
    EcrireFichier(destination / "long.bin.0", contenu.substr(0, 8000)); // un segment présent
    const auto r = ExecuterCli({"telecharger", "--json", "--catalogue", EcrireCatalogue(),
                                "--recette", "0", "--dossier", destination.Chemin()});
    ASSERT_EQ(r.code, 0) << r.erreurs;
    EXPECT_EQ(r.erreurs.find('\r'), std::string::npos);
    const std::regex simple("\nTotal : +[0-9]+ %  [0-9,]+ / 24,000 octets  [0-9,-]+ Mo/s  écoulé "
                            "0 min 1[0-9] s  reste [-0-9]+ min [-0-9]+ s\n");
    EXPECT_TRUE(std::regex_search(r.erreurs, simple)) << r.erreurs;
    const auto j = nlohmann::json::parse(r.sortie);
    EXPECT_EQ(j["code"], 0);
    ASSERT_EQ(j["fichiers"].size(), 1u);
    const auto& f = j["fichiers"][0];
    EXPECT_EQ(f["nom"], "long.bin");
    EXPECT_EQ(f["resultat"], "reussi");
    EXPECT_EQ(f["segmentsRecus"], 2);
    EXPECT_EQ(f["segmentsPresents"], 1);
    EXPECT_EQ(f["octetsRecus"], 16000);
    EXPECT_GT(f["secondes"].get<double>(), 5.0);
    EXPECT_EQ(LireFichier(destination / "long.bin"), contenu);
}

TEST_F(CommandeTelecharger, CtrlCAnnuleEtRendLeCode130) {
    ServeurDefaillant serveur;
    Ajouter("lent.bin", Octets(200000, 6), 100000, serveur.Hote());
    serveur.AjouterFichier("/rep/lent.bin", Octets(200000, 6));
    serveur.Ralentir("/rep/lent.bin", 1000, 50ms); // 5 s par segment
    Enfant enfant({"telecharger", "--catalogue", EcrireCatalogue(), "--recette", "0", "--dossier",
                   destination.Chemin()},
                  racine / "sortie", racine / "erreurs");
    ASSERT_GT(enfant.Pid(), 0);
    bool signale = false;
    const int code = enfant.Attendre(20s, [&] {
        if (!signale && serveur.Requetes() > 0 &&
            LireFichier(racine / "erreurs").find("Téléchargement...\n") != std::string::npos) {
            std::this_thread::sleep_for(200ms);
            ::kill(enfant.Pid(), SIGINT);
            signale = true;
        }
    });
    ASSERT_TRUE(signale);
    EXPECT_EQ(code, 130) << LireFichier(racine / "erreurs");
    const auto erreurs = LireFichier(racine / "erreurs");
    EXPECT_TRUE(erreurs.ends_with("Téléchargement annulé.\n")) << erreurs;
    EXPECT_EQ(LireFichier(racine / "sortie").find("Réussi"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(destination / "lent.bin"));
}

// Sur un terminal de 40, 80 ou 200 colonnes, chaque ligne redessinée tient dans sa
// largeur, le journal passe au-dessus d'elle et le bilan va sur la sortie standard.
TEST_F(CommandeTelecharger, ProgressionEnDirectTientDansLeTerminal) {
    ServeurDefaillant serveur;
    Ajouter("moyen.bin", Octets(20000, 7), 10000, serveur.Hote());
    serveur.AjouterFichier("/rep/moyen.bin", Octets(20000, 7));
    serveur.Ralentir("/rep/moyen.bin", 1000, 40ms); // un peu moins d'une seconde en tout
    const std::string dossierCatalogue = EcrireCatalogue();
    for (const unsigned short largeur : {40, 80, 200}) {
        SCOPED_TRACE(largeur);
        std::filesystem::remove_all(destination.Chemin());
        const int maitre = ::posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(maitre, 0);
        ASSERT_EQ(::grantpt(maitre), 0);
        ASSERT_EQ(::unlockpt(maitre), 0);
        const int esclave = ::open(::ptsname(maitre), O_RDWR | O_NOCTTY);
        const winsize taille{24, largeur, 0, 0};
        ASSERT_EQ(::ioctl(esclave, TIOCSWINSZ, &taille), 0);
        std::string terminal;
        const auto debut = Horloge::now();
        {
            Enfant enfant({"telecharger", "--catalogue", dossierCatalogue, "--recette=0",
                           "--dossier=" + destination.Chemin()},
                          racine / "sortie", ::ptsname(maitre));
            // Le terminal est vidé au fil de l'eau : plein, il bloquerait l'enfant.
            const auto lire = [&] {
                pollfd p{maitre, POLLIN, 0};
                char tampon[4096];
                while (::poll(&p, 1, 0) > 0 && (p.revents & POLLIN)) {
                    const auto n = ::read(maitre, tampon, sizeof tampon);
                    if (n <= 0) break;
                    terminal.append(tampon, static_cast<std::size_t>(n));
                }
            };
            EXPECT_EQ(enfant.Attendre(20s, lire), 0);
            lire();
        }
        const double secondes = std::chrono::duration<double>(Horloge::now() - debut).count();
        ::close(esclave);
        ::close(maitre);
        // Chaque dessin : « \r\033[K » puis la ligne, jusqu'au dessin ou au journal suivant.
        int dessins = 0;
        for (std::size_t i = terminal.find("\r\033[K"); i != std::string::npos;
             i = terminal.find("\r\033[K", i + 1)) {
            const auto debutLigne = i + 4;
            const auto finLigne = terminal.find_first_of("\r\n", debutLigne);
            const auto ligne = terminal.substr(debutLigne, finLigne - debutLigne);
            // Une ligne du journal finit par un saut de ligne (« \r\n » du terminal).
            if (ligne.empty() || terminal.compare(finLigne, 2, "\r\n") == 0) continue;
            ++dessins;
            EXPECT_LT(cli::LigneProgression::Colonnes(ligne), largeur) << ligne;
            EXPECT_NE(ligne.find(" %"), std::string::npos) << ligne;
            EXPECT_NE(ligne.find("reste"), std::string::npos) << ligne;
            if (largeur >= 200) {
                EXPECT_NE(ligne.find(" / 20,000 octets"), std::string::npos) << ligne;
            }
        }
        EXPECT_GE(dessins, 1) << terminal;
        EXPECT_LE(dessins, 10 * secondes + 2) << terminal; // 10 par seconde au plus
        EXPECT_NE(terminal.find("Segment 2 de 2... réussi."), std::string::npos) << terminal;
        const auto sortie = LireFichier(racine / "sortie");
        EXPECT_TRUE(sortie.starts_with("moyen.bin : Réussi (2 segments reçus, 0 déjà présents, "
                                       "0,02 Mo en "))
            << sortie;
        EXPECT_EQ(sortie.find('%'), std::string::npos);
    }
}

namespace fs = std::filesystem;

// Graine tirée au hasard, ou reprise de EMPORTEUR_GRAINE pour rejouer un échec ; imprimée.
std::uint32_t Graine() {
    const char* imposee = std::getenv("EMPORTEUR_GRAINE");
    const std::uint32_t graine =
        imposee ? static_cast<std::uint32_t>(std::strtoul(imposee, nullptr, 10))
                : std::random_device{}();
    std::cout << "[ graine   ] EMPORTEUR_GRAINE=" << graine << std::endl;
    return graine;
}

// Deux copies sur le même fichier et le même dossier : un seul téléchargement
// passe par le réseau, l'autre attend et trouve le travail fait ; jamais de fichier
// partiel, absent ou faux sous le nom final.
TEST_F(CommandeTelecharger, DeuxCopiesSurLeMemeFichierSansPerteNiFichierPartiel) {
    ServeurDefaillant serveur;
    const std::string contenu = Octets(256 << 10, 8);
    constexpr int kSegments = 16;
    Ajouter("double.bin", contenu, (256 << 10) / kSegments, serveur.Hote());
    serveur.AjouterFichier("/rep/double.bin", contenu);
    serveur.Ralentir("/rep/double.bin", 4096, 1ms); // une demi-seconde en tout
    const std::vector<std::string> arguments{"telecharger",       "--catalogue", EcrireCatalogue(),
                                             "--recette",         "0",           "--dossier",
                                             destination.Chemin()};
    const std::string final = destination / "double.bin";
    const std::string assemblage = destination / ".double.bin.assemblage";
    std::mt19937 alea(Graine());
    int attentes = 0, pendantLAssemblage = 0;
    std::string partiel;
    // Sous le nom final : rien, ou le fichier entier.
    const auto surveiller = [&] {
        std::error_code e;
        const auto taille = fs::file_size(final, e);
        if (!e && taille != contenu.size() && partiel.empty())
            partiel = "taille " + std::to_string(taille);
    };
    for (int essai = 0; essai < 30; ++essai) {
        SCOPED_TRACE("essai " + std::to_string(essai));
        fs::remove_all(destination.Chemin());
        fs::create_directories(destination.Chemin());
        serveur.OublierRequetes();
        Enfant premier(arguments, racine / "premier", racine / "erreursA");
        // Un tiers des essais vise l'assemblage, les autres un instant du transfert.
        const bool viserAssemblage = alea() % 3 == 0;
        const auto delai =
            std::chrono::microseconds(viserAssemblage ? alea() % 3000 : alea() % 600000);
        if (viserAssemblage) {
            // Des octets dans l'assemblage : l'essai d'écriture du début, vide, ne compte pas.
            std::error_code e;
            const auto assemble = [&] { return fs::file_size(assemblage, e) > 0 && !e; };
            const auto limite = Horloge::now() + 20s;
            while (!assemble() && !premier.Fini() && Horloge::now() < limite) {
                surveiller();
                std::this_thread::sleep_for(100us);
            }
            pendantLAssemblage += assemble();
        }
        for (const auto fin = Horloge::now() + delai; Horloge::now() < fin;)
            surveiller();
        Enfant second(arguments, racine / "second", racine / "erreursB");
        const auto limite = Horloge::now() + 30s;
        std::optional<int> a, b;
        while ((!a || !b) && Horloge::now() < limite) {
            surveiller();
            // Dès qu'une copie annonce sa réussite, son fichier est là et entier.
            for (auto [enfant, code, sortie] : {std::tuple{&premier, &a, racine / "premier"},
                                                std::tuple{&second, &b, racine / "second"}}) {
                if (*code) continue;
                *code = enfant->Fini();
                if (*code == 0) {
                    EXPECT_EQ(LireFichier(final), contenu) << sortie;
                }
            }
            std::this_thread::sleep_for(1ms);
        }
        ASSERT_EQ(a, 0) << LireFichier(racine / "premier");
        ASSERT_EQ(b, 0) << LireFichier(racine / "second");
        const auto sortieA = LireFichier(racine / "premier"),
                   sortieB = LireFichier(racine / "second");
        EXPECT_TRUE(sortieA.starts_with("double.bin : Réussi (")) << sortieA;
        EXPECT_TRUE(sortieB.starts_with("double.bin : Réussi (")) << sortieB;
        attentes += (LireFichier(racine / "erreursA") + LireFichier(racine / "erreursB"))
                        .find("En attente d'un autre téléchargement du même "
                              "fichier…\n") != std::string::npos;
        EXPECT_EQ(serveur.Requetes(), 1); // tous les segments d'une requête, pour les deux
        EXPECT_EQ(LireFichier(final), contenu);
        EXPECT_EQ(
            std::distance(fs::directory_iterator(destination.Chemin()), fs::directory_iterator()),
            1); // ni segment ni assemblage laissé
        EXPECT_EQ(partiel, "");
    }
    std::cout << "[ mesures  ] " << attentes << " secondes copies ont attendu, "
              << pendantLAssemblage << " lancées pendant l'assemblage" << std::endl;
}

// kill -9 à un instant pris au hasard dans l'assemblage : le fichier final n'existe
// pas ou il est entier, et la reprise n'a rien à redemander.
TEST_F(CommandeTelecharger, TueePendantLAssemblagePuisRepriseSansTransfert) {
    ServeurDefaillant serveur;
    constexpr std::size_t kTaille = 4u << 20, kSegment = 64u << 10;
    const std::string contenu = Octets(kTaille, 9);
    Ajouter("joint.bin", contenu, kSegment, serveur.Hote());
    serveur.AjouterFichier("/rep/joint.bin", contenu);
    const std::vector<std::string> arguments{"telecharger",       "--catalogue", EcrireCatalogue(),
                                             "--recette",         "0",           "--dossier",
                                             destination.Chemin()};
    const std::string final = destination / "joint.bin";
    const std::string assemblage = destination / ".joint.bin.assemblage";
    const auto preparer = [&] {
        fs::remove_all(destination.Chemin());
        for (std::size_t i = 0; i * kSegment < kTaille; ++i)
            EcrireFichier(destination / ("joint.bin." + std::to_string(i)),
                          contenu.substr(i * kSegment, kSegment));
    };
    // L'assemblage commence quand l'assemblage reçoit ses premiers octets.
    const auto debutAssemblage = [&](Enfant& enfant) {
        std::error_code e;
        const auto limite = Horloge::now() + 20s;
        while (Horloge::now() < limite && !enfant.Fini()) {
            const auto taille = fs::file_size(assemblage, e);
            if (!e && taille > 0) return true;
            std::this_thread::yield();
        }
        return false;
    };
    // Durée d'un assemblage sans interruption, pour y tirer les instants.
    preparer();
    Enfant etalon(arguments, racine / "sortie", racine / "erreurs");
    ASSERT_TRUE(debutAssemblage(etalon));
    const auto debut = Horloge::now();
    while (!fs::exists(final) && !etalon.Fini())
        std::this_thread::yield();
    const auto duree = std::max<Horloge::duration>(Horloge::now() - debut, 1ms);
    ASSERT_EQ(etalon.Attendre(20s), 0);

    std::mt19937 alea(Graine());
    int interrompus = 0;
    for (int essai = 0; essai < 20; ++essai) {
        SCOPED_TRACE("essai " + std::to_string(essai));
        preparer();
        serveur.OublierRequetes();
        Enfant enfant(arguments, racine / "sortie", racine / "erreurs");
        if (debutAssemblage(enfant)) {
            const auto instant = Horloge::now() + std::chrono::nanoseconds(alea() % duree.count());
            while (Horloge::now() < instant)
                ;
        }
        enfant.Tuer();
        interrompus += !fs::exists(final);
        if (fs::exists(final)) {
            EXPECT_EQ(LireFichier(final), contenu);
        }
        const auto r = ExecuterCli(arguments);
        EXPECT_EQ(r.code, 0) << r.sortie;
        EXPECT_EQ(serveur.Requetes(), 0);
        EXPECT_EQ(LireFichier(final), contenu);
        EXPECT_FALSE(fs::exists(assemblage));
        EXPECT_FALSE(fs::exists(destination / "joint.bin.0"));
    }
    std::cout << "[ mesures  ] assemblage de "
              << std::chrono::duration_cast<std::chrono::milliseconds>(duree).count() << " ms, "
              << interrompus << " sur 20 tués avant le renommage" << std::endl;
    EXPECT_GT(interrompus, 0);
}

} // namespace
} // namespace emporteur::test

namespace emporteur::test {
namespace {

// kill -9 à des instants tirés au hasard dans le transfert et dans l'assemblage, à une
// ou quatre connexions : la reprise finit avec le même fichier et ne redemande aucun
// segment vérifié sur le disque.
TEST_F(CommandeTelecharger, TueeNImporteQuandPuisRepriseSansRedemanderLeVerifie) {
    ServeurDefaillant serveur;
    constexpr std::size_t kTaille = 256u << 10, kSegment = 16u << 10;
    const std::string contenu = Octets(kTaille, 10);
    Ajouter("tue.bin", contenu, kSegment, serveur.Hote());
    serveur.AjouterFichier("/rep/tue.bin", contenu);
    serveur.Ralentir("/rep/tue.bin", 4096, 2ms); // un peu plus de 100 ms de transfert
    const std::vector<std::string> arguments{"telecharger",       "--catalogue", EcrireCatalogue(),
                                             "--recette",         "0",           "--dossier",
                                             destination.Chemin()};
    const std::string final = destination / "tue.bin";
    const std::string assemblage = destination / ".tue.bin.assemblage";
    // Segments dont le fichier est bon au moment de la reprise.
    const auto verifies = [&] {
        std::vector<std::size_t> v;
        for (std::size_t i = 0; i * kSegment < kTaille; ++i) {
            const fs::path nom = destination / ("tue.bin." + std::to_string(i));
            if (fs::exists(nom) &&
                LireFichier(nom).substr(0, kSegment) == contenu.substr(i * kSegment, kSegment))
                v.push_back(i);
        }
        return v;
    };
    const auto etalonDebut = Horloge::now();
    ASSERT_EQ(ExecuterCli(arguments).code, 0);
    const auto duree = Horloge::now() - etalonDebut;

    std::mt19937 alea(Graine());
    int pendantLAssemblage = 0, avecSegments = 0;
    auto aQuatre = arguments;
    aQuatre.insert(aQuatre.end(), {"--connexions", "4"});
    for (int essai = 0; essai < 20; ++essai) {
        SCOPED_TRACE("essai " + std::to_string(essai));
        fs::remove_all(destination.Chemin());
        // Un essai sur deux à quatre connexions ; la reprise à une seule.
        Enfant enfant(essai % 2 ? aQuatre : arguments, racine / "sortie", racine / "erreurs");
        if (alea() % 3 == 0) { // un tiers vise l'assemblage, bref
            std::error_code e;
            const auto limite = Horloge::now() + 20s;
            while (!(fs::file_size(assemblage, e) > 0 && !e) && !enfant.Fini() &&
                   Horloge::now() < limite)
                std::this_thread::yield();
            std::this_thread::sleep_for(std::chrono::microseconds(alea() % 2000));
        } else {
            std::this_thread::sleep_for(std::chrono::nanoseconds(alea() % duree.count()));
        }
        enfant.Tuer();
        pendantLAssemblage += fs::exists(assemblage);
        if (fs::exists(final)) {
            EXPECT_EQ(LireFichier(final), contenu); // sous le nom final : entier ou rien
        }
        const auto gardes = verifies();
        avecSegments += !gardes.empty();
        serveur.OublierRequetes();
        const auto r = ExecuterCli(arguments);
        EXPECT_EQ(r.code, 0) << r.sortie;
        EXPECT_EQ(LireFichier(final), contenu);
        for (const auto& p : serveur.Plages("/rep/tue.bin"))
            for (const auto i : gardes)
                EXPECT_TRUE(p.fin < i * kSegment || p.debut >= (i + 1) * kSegment)
                    << "segment " << i << " redemandé : " << p.debut << "-" << p.fin;
        EXPECT_EQ(
            std::distance(fs::directory_iterator(destination.Chemin()), fs::directory_iterator()),
            1); // ni segment ni assemblage laissé
    }
    std::cout << "[ mesures  ] exécution complète de "
              << std::chrono::duration_cast<std::chrono::milliseconds>(duree).count() << " ms ; "
              << avecSegments << " sur 20 tués avec des segments vérifiés, " << pendantLAssemblage
              << " avec un assemblage commencé" << std::endl;
}

} // namespace
} // namespace emporteur::test

namespace emporteur::test {
namespace {

// kill -9 à 20 instants tirés au hasard pendant la réparation d'un fichier entier à
// quatre connexions : sous son nom, le fichier ne perd jamais un segment juste, et la
// reprise (à une connexion) finit le même fichier sans redemander un segment vérifié
// (juste dans le fichier ou dans son fichier de segment).
TEST_F(CommandeTelecharger, TueePendantUneReparationPuisRepriseSansRedemanderLeVerifie) {
    ServeurDefaillant serveur;
    constexpr std::size_t kTaille = 1u << 20, kSegment = 16u << 10, kNombre = kTaille / kSegment;
    const std::string contenu = Octets(kTaille, 12);
    Ajouter("rep.bin", contenu, kSegment, serveur.Hote());
    serveur.AjouterFichier("/rep/rep.bin", contenu);
    serveur.Ralentir("/rep/rep.bin", 4096, 2ms);
    const std::vector<std::string> arguments{"telecharger",       "--catalogue", EcrireCatalogue(),
                                             "--recette",         "0",           "--dossier",
                                             destination.Chemin()};
    auto aQuatre = arguments;
    aQuatre.insert(aQuatre.end(), {"--connexions", "4"});
    const std::string final = destination / "rep.bin";
    std::string abime = contenu;
    for (std::size_t i = 1; i < kNombre; i += 4) // 16 segments abîmés sur 64
        abime[i * kSegment + 100] ^= 1;
    const auto justesDansLeFichier = [&] {
        std::vector<bool> justes(kNombre);
        const std::string present = LireFichier(final);
        for (std::size_t i = 0; i < kNombre; ++i)
            justes[i] = present.compare(i * kSegment, kSegment, contenu, i * kSegment, kSegment) == 0;
        return justes;
    };
    const auto segmentJuste = [&](std::size_t i) {
        const fs::path nom = destination / ("rep.bin." + std::to_string(i));
        return fs::exists(nom) &&
               LireFichier(nom).substr(0, kSegment) == contenu.substr(i * kSegment, kSegment);
    };
    fs::remove_all(destination.Chemin());
    fs::create_directories(destination.Chemin());
    EcrireFichier(final, abime);
    const auto avant = justesDansLeFichier();
    const auto etalonDebut = Horloge::now();
    ASSERT_EQ(ExecuterCli(aQuatre).code, 0);
    const auto duree = Horloge::now() - etalonDebut;

    std::mt19937 alea(Graine());
    int avecSegments = 0;
    for (int essai = 0; essai < 20; ++essai) {
        SCOPED_TRACE("essai " + std::to_string(essai));
        fs::remove_all(destination.Chemin());
        fs::create_directories(destination.Chemin());
        EcrireFichier(final, abime);
        Enfant enfant(aQuatre, racine / "sortie", racine / "erreurs");
        std::this_thread::sleep_for(std::chrono::nanoseconds(alea() % duree.count()));
        enfant.Tuer();
        const auto justes = justesDansLeFichier();
        std::vector<std::size_t> verifies;
        for (std::size_t i = 0; i < kNombre; ++i) {
            EXPECT_TRUE(justes[i] || !avant[i]) << "segment " << i << " abîmé par la réparation";
            if (justes[i] || segmentJuste(i)) verifies.push_back(i);
            avecSegments += !justes[i] && segmentJuste(i);
        }
        serveur.OublierRequetes();
        const auto r = ExecuterCli(arguments);
        EXPECT_EQ(r.code, 0) << r.sortie;
        EXPECT_EQ(LireFichier(final), contenu);
        for (const auto& p : serveur.Plages("/rep/rep.bin"))
            for (const auto i : verifies)
                EXPECT_TRUE(p.fin < i * kSegment || p.debut >= (i + 1) * kSegment)
                    << "segment " << i << " redemandé : " << p.debut << "-" << p.fin;
        EXPECT_EQ(
            std::distance(fs::directory_iterator(destination.Chemin()), fs::directory_iterator()),
            1); // ni segment ni assemblage laissé
    }
    std::cout << "[ mesures  ] réparation complète de "
              << std::chrono::duration_cast<std::chrono::milliseconds>(duree).count() << " ms ; "
              << avecSegments << " segments reçus mais pas encore en place au moment du kill"
              << std::endl;
}

} // namespace
} // namespace emporteur::test

namespace emporteur::test {
namespace {

// SIGTERM et SIGHUP reçoivent l'arrêt de Ctrl-C : segment vérifié gardé, assemblage
// retiré, code 128 + le signal.
TEST_F(CommandeTelecharger, SigtermEtSighupArretPropreCommeCtrlC) {
    const struct {
        int signal;
        int code;
    } cas[] = {{SIGINT, 130}, {SIGTERM, 143}, {SIGHUP, 129}};
    ServeurDefaillant serveur;
    const std::string contenu = Octets(300000, 11);
    Ajouter("lent.bin", contenu, 100000, serveur.Hote());
    serveur.AjouterFichier("/rep/lent.bin", contenu);
    serveur.Ralentir("/rep/lent.bin", 1000, 50ms); // 5 s par segment
    const std::string dossierCatalogue = EcrireCatalogue();
    for (const auto& c : cas) {
        SCOPED_TRACE(c.signal);
        fs::remove_all(destination.Chemin());
        fs::create_directories(destination.Chemin());
        EcrireFichier(destination / "lent.bin.0", contenu.substr(0, 100000));
        serveur.OublierRequetes();
        Enfant enfant({"telecharger", "--json", "--catalogue", dossierCatalogue, "--recette", "0",
                       "--dossier", destination.Chemin()},
                      racine / "sortie", racine / "erreurs");
        ASSERT_GT(enfant.Pid(), 0);
        bool signale = false;
        const int code = enfant.Attendre(60s, [&] {
            if (!signale && serveur.Requetes() > 0 &&
                LireFichier(racine / "erreurs").find("Téléchargement...\n") != std::string::npos &&
                fs::exists(destination / ".lent.bin.assemblage")) {
                ::kill(enfant.Pid(), c.signal);
                signale = true;
            }
        });
        ASSERT_TRUE(signale);
        const auto erreurs = LireFichier(racine / "erreurs");
        EXPECT_EQ(code, c.code) << erreurs;
        EXPECT_TRUE(erreurs.ends_with("Téléchargement annulé.\n")) << erreurs;
        const auto j = nlohmann::json::parse(LireFichier(racine / "sortie"));
        EXPECT_EQ(j["code"], c.code);
        EXPECT_EQ(j["fichiers"][0]["resultat"], "annule");
        EXPECT_EQ(LireFichier(destination / "lent.bin.0"), contenu.substr(0, 100000));
        EXPECT_FALSE(fs::exists(destination / ".lent.bin.assemblage"));
        EXPECT_FALSE(fs::exists(destination / "lent.bin"));
    }
}

// Ctrl-C à des instants tirés au hasard, un tiers dès que l'effacement des 4096
// segments commence (le fichier est alors publié, l'exécution pas encore finie) : un
// fichier publié n'est jamais rapporté annulé, un fichier annulé n'est jamais publié.
TEST_F(CommandeTelecharger, CtrlCApresLaPublicationRendLeVraiResultat) {
    ServeurDefaillant serveur;
    const std::string contenu = Octets(2u << 20, 12);
    Ajouter("vite.bin", contenu, 512, serveur.Hote());
    serveur.AjouterFichier("/rep/vite.bin", contenu);
    const std::vector<std::string> arguments{"telecharger", "--catalogue", EcrireCatalogue(),
                                             "--recette",   "0",           "--dossier",
                                             destination.Chemin()};
    const auto etalonDebut = Horloge::now();
    ASSERT_EQ(ExecuterCli(arguments).code, 0);
    const auto duree = Horloge::now() - etalonDebut;
    std::mt19937 alea(Graine());
    int annules = 0, reussis = 0;
    for (int essai = 0; essai < 12; ++essai) {
        SCOPED_TRACE("essai " + std::to_string(essai));
        fs::remove_all(destination.Chemin());
        Enfant enfant(arguments, racine / "sortie", racine / "erreurs");
        const bool apres = alea() % 3 == 0;
        const std::string repere = apres ? "Effacement des segments" : "Initialisation.";
        // Le gestionnaire est posé avant le premier relevé du journal.
        const auto limite = Horloge::now() + 30s;
        while (LireFichier(racine / "erreurs").find(repere) == std::string::npos &&
               !enfant.Fini() && Horloge::now() < limite)
            std::this_thread::sleep_for(1ms);
        if (!apres) std::this_thread::sleep_for(std::chrono::nanoseconds(alea() % duree.count()));
        if (!enfant.Fini()) ::kill(enfant.Pid(), SIGINT); // jamais un numéro déjà rendu
        const int code = enfant.Attendre(60s);
        const auto erreurs = LireFichier(racine / "erreurs");
        const auto sortie = LireFichier(racine / "sortie");
        const bool publie = fs::exists(destination / "vite.bin");
        if (publie) {
            EXPECT_EQ(LireFichier(destination / "vite.bin"), contenu);
        }
        EXPECT_EQ(code, publie ? 0 : 130) << erreurs;
        EXPECT_EQ(erreurs.ends_with("Téléchargement annulé.\n"), !publie) << erreurs;
        EXPECT_EQ(sortie.find("vite.bin : Réussi") != std::string::npos, publie) << sortie;
        EXPECT_FALSE(fs::exists(destination / ".vite.bin.assemblage"));
        (publie ? reussis : annules)++;
    }
    std::cout << "[ mesures  ] " << reussis << " publiés, " << annules << " annulés sur 12"
              << std::endl;
}

} // namespace
} // namespace emporteur::test

namespace emporteur::test {
namespace {

// 40 kill -9 à des instants tirés au hasard, par les chemins de sûreté : un essai sur
// deux avec le verrou de repli à côté du fichier (aucun dossier privé possible), l'autre
// avec un ensemble refusé pour collision lancé, et tué, entre deux reprises. Chaque
// reprise donne le fichier identique ; le refus n'efface aucun segment vérifié.
TEST_F(CommandeTelecharger, QuaranteKill9ParLeVerrouDeRepliEtLeRefusDeCollision) {
    ServeurDefaillant serveur;
    constexpr std::size_t kTaille = 128u << 10, kSegment = 16u << 10;
    const std::string contenu = Octets(kTaille, 13);
    Ajouter("tue.bin", contenu, kSegment, serveur.Hote());
    serveur.AjouterFichier("/rep/tue.bin", contenu);
    serveur.Ralentir("/rep/tue.bin", 4096, 3ms); // un peu moins de 100 ms de transfert
    const DossierTemporaire normal;
    for (const auto& e : fs::directory_iterator(EcrireCatalogue()))
        fs::copy_file(e.path(), normal / e.path().filename().string());
    // tue.bin.1 : le nom du deuxième segment de tue.bin.
    Ajouter("tue.bin.1", Octets(1000, 14), 1000, serveur.Hote());
    serveur.AjouterFichier("/rep/tue.bin.1", Octets(1000, 14));
    const std::string enCollision = EcrireCatalogue();
    const auto arguments = [&](const std::string& dossierCatalogue) {
        return std::vector<std::string>{"telecharger", "--catalogue", dossierCatalogue, "--recette",
                                        "0", "--dossier", destination.Chemin()};
    };
    // Sans dossier d'exécution et avec un /tmp/emporteur-UID qui n'est pas un dossier.
    fs::create_directories(racine / "tmp");
    EcrireFichier(racine / ("tmp/emporteur-" + std::to_string(::geteuid())), "occupé");
    const std::map<std::string, std::string> sansPrive{{"TMPDIR", racine / "tmp"}};
    const std::string final = destination / "tue.bin";
    const auto etalonDebut = Horloge::now();
    const auto etalon = ExecuterCli(arguments(normal.Chemin()));
    ASSERT_EQ(etalon.code, 0) << etalon.erreurs;
    const auto duree = Horloge::now() - etalonDebut;
    const auto segmentsJustes = [&] {
        std::vector<std::size_t> v;
        for (std::size_t i = 0; i * kSegment < kTaille; ++i) {
            const fs::path nom = destination / ("tue.bin." + std::to_string(i));
            if (fs::exists(nom) &&
                LireFichier(nom).substr(0, kSegment) == contenu.substr(i * kSegment, kSegment))
                v.push_back(i);
        }
        return v;
    };

    std::mt19937 alea(Graine());
    int replis = 0, refus = 0;
    for (int essai = 0; essai < 40; ++essai) {
        SCOPED_TRACE("essai " + std::to_string(essai));
        fs::remove_all(destination.Chemin());
        const bool repli = essai % 2 == 0;
        std::optional<VariableTemporaire> execution, temporaire;
        if (repli) {
            execution.emplace("XDG_RUNTIME_DIR", std::nullopt);
            temporaire.emplace("TMPDIR", racine / "tmp");
        }
        {
            Enfant enfant(arguments(normal.Chemin()), racine / "sortie", racine / "erreurs");
            std::this_thread::sleep_for(std::chrono::nanoseconds(alea() % duree.count()));
            enfant.Tuer();
        }
        if (fs::exists(final)) {
            EXPECT_EQ(LireFichier(final), contenu); // entier ou rien
        }
        if (!repli) {
            const auto gardes = segmentsJustes();
            Enfant refuse(arguments(enCollision), racine / "sortie", racine / "erreurs");
            std::this_thread::sleep_for(std::chrono::microseconds(alea() % 50000));
            refuse.Tuer();
            const auto r = ExecuterCli(arguments(enCollision));
            EXPECT_EQ(r.code, 1) << r.erreurs;
            refus += r.erreurs.find("se confondraient") != std::string::npos;
            EXPECT_EQ(segmentsJustes(), gardes); // rien de vérifié n'est effacé
        }
        const auto r = ExecuterCli(arguments(normal.Chemin()), repli ? sansPrive
                                                                     : std::map<std::string, std::string>{});
        EXPECT_EQ(r.code, 0) << r.erreurs;
        EXPECT_EQ(LireFichier(final), contenu);
        replis += repli && fs::exists(destination / ".tue.bin.verrou");
    }
    EXPECT_EQ(replis, 20);
    EXPECT_EQ(refus, 20);
    std::cout << "[ mesures  ] exécution complète de "
              << std::chrono::duration_cast<std::chrono::milliseconds>(duree).count() << " ms ; "
              << replis << " reprises par le verrou de repli, " << refus
              << " refus de collision entre deux reprises" << std::endl;
}

} // namespace
} // namespace emporteur::test
