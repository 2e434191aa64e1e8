// emporteur-cli.exe sous wine, de bout en bout, contre les serveurs de test de Linux sur
// 127.0.0.1 : mêmes fichiers que la source et, pour le même scénario, les mêmes lignes
// que emporteur-cli de la construction Linux (CR retirés, durées et chemins effacés).
#include "outils/DossierTemporaire.h"
#include "outils/MandataireTinyproxy.h"
#include "outils/Processus.h"
#include "outils/ServeurDefaillant.h"
#include "outils/ServeurNginx.h"
#include "windows/CliWindows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <thread>

namespace emporteur::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class WindowsTelecharger : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const auto manque = ManqueAWine(); !manque.empty()) GTEST_FAIL() << manque;
    }

    // Fichier servi sous /rep/<nom> (depuis `racine`), ligne d'ingrédients rédigée par
    // emporteur-cli de Linux : les deux programmes lisent le même catalogue.
    void Publier(const std::string& nom, const std::string& contenu, int segment,
                 const std::string& site) {
        EcrireFichier(racine / ("rep/" + nom), contenu);
        const std::string cle = "k" + std::to_string(nombre_++);
        const auto r =
            ExecuterCli({"ingredient", racine / ("rep/" + nom), std::to_string(segment), "--cle",
                         cle, "--site", site, "--rep", "rep", "--distant", nom, "--local", nom});
        ASSERT_EQ(r.code, 0) << r.erreurs;
        lignes_ += r.sortie;
        cles_ += (cles_.empty() ? "" : " ") + cle;
        EcrireFichier(catalogue / "RecettesOrthalis",
                      "2.1.0.0\n ver=\"1.0.0.0\" produit=\"Essai 2\" verMaj=\"2.0.0.0\" "
                      "titre=\"Essai\" des=\"Essai\" cles=\"" +
                          cles_ + "\"\n");
        EcrireFichier(catalogue / "IngredientsOrthalis", "2.1.0.0\n" + lignes_);
        EcrireFichier(catalogue / "IngredientsBoutique", "boutique\n");
    }

    std::vector<std::string> Arguments(const std::string& dossier,
                                       const std::vector<std::string>& options = {}) const {
        std::vector<std::string> a{"telecharger", "--catalogue", catalogue.Chemin(), "--recette",
                                   "0",           "--dossier",   dossier};
        a.insert(a.end(), options.begin(), options.end());
        return a;
    }

    // Même code, mêmes lignes sur chaque sortie. `dossierWindows` : tel que donné au
    // programme Windows (Unix ou Z:\…).
    static void Comparer(const ResultatProcessus& linux, const std::string& dossierLinux,
                         const ResultatProcessus& windows, const std::string& dossierWindows,
                         bool detailTransport = false) {
        const Normalisation l{{dossierLinux}, detailTransport};
        const Normalisation w{{CheminZ(dossierWindows), dossierWindows}, detailTransport};
        EXPECT_EQ(windows.code, linux.code) << windows.erreurs;
        EXPECT_NE(linux.erreurs, ""); // une comparaison de deux silences ne dirait rien
        EXPECT_EQ(Lignes(windows.erreurs, w), Lignes(linux.erreurs, l));
        EXPECT_EQ(Lignes(windows.sortie, w), Lignes(linux.sortie, l));
    }

    EnvironnementIsole environnement;
    VariableTemporaire proxy_{"HTTP_PROXY", std::nullopt}, tous_{"all_proxy", std::nullopt};
    DossierTemporaire racine, catalogue;

  private:
    std::string lignes_, cles_;
    int nombre_ = 0;
};

TEST_F(WindowsTelecharger, NeufPuisReparationDUnOctetCommeSousLinux) {
    ServeurNginx nginx(racine.Chemin());
    const std::string a = OctetsReproductibles(250000, 1), b = OctetsReproductibles(1000, 2),
                      c = OctetsReproductibles(70000, 3);
    Publier("a.bin", a, 100000, nginx.Hote());
    Publier("b.bin", b, 4096, nginx.Hote());
    Publier("c.bin", c, 65536, nginx.Hote());
    DossierTemporaire pourLinux, pourWindows;
    auto linux = ExecuterCli(Arguments(pourLinux.Chemin()));
    auto windows = ExecuterWindows(Arguments(pourWindows.Chemin()));
    ASSERT_EQ(linux.code, 0) << linux.erreurs;
    EXPECT_EQ(windows.code, 0) << windows.erreurs;
    EXPECT_EQ(LireFichier(pourWindows / "a.bin"), a);
    EXPECT_EQ(LireFichier(pourWindows / "b.bin"), b);
    EXPECT_EQ(LireFichier(pourWindows / "c.bin"), c);
    Comparer(linux, pourLinux.Chemin(), windows, pourWindows.Chemin());

    // Un octet abîmé : seul son segment repasse par le réseau.
    std::string abime = a;
    abime[150000] = static_cast<char>(~abime[150000]);
    EcrireFichier(pourLinux / "a.bin", abime);
    EcrireFichier(pourWindows / "a.bin", abime);
    linux = ExecuterCli(Arguments(pourLinux.Chemin()));
    const auto avant = nginx.JournalAcces().size();
    windows = ExecuterWindows(Arguments(pourWindows.Chemin()));
    EXPECT_EQ(windows.code, 0) << windows.erreurs;
    EXPECT_EQ(LireFichier(pourWindows / "a.bin"), a);
    const auto journal = nginx.JournalAcces().substr(avant);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), '\n'), 1) << journal;
    EXPECT_NE(journal.find("\"bytes=100000-199999\""), std::string::npos) << journal;
    EXPECT_NE(windows.erreurs.find("Segmentation du fichier sur disque."), std::string::npos)
        << windows.erreurs;
    Comparer(linux, pourLinux.Chemin(), windows, pourWindows.Chemin());
}

// kill -9 du processus que wine est devenu, au milieu du transfert : la reprise finit
// le même fichier sans redemander un segment vérifié, et dit ce que dit Linux repris du
// même état.
TEST_F(WindowsTelecharger, TueParKill9PuisRepriseSansRedemanderLeVerifie) {
    ServeurDefaillant serveur;
    constexpr std::size_t kTaille = 256u << 10, kSegment = 16u << 10;
    const std::string contenu = OctetsReproductibles(kTaille, 10);
    Publier("tue.bin", contenu, kSegment, serveur.Hote());
    serveur.AjouterFichier("/rep/tue.bin", contenu);
    serveur.Ralentir("/rep/tue.bin", 4096, 20ms); // plus d'une seconde de transfert
    DossierTemporaire pourWindows, pourLinux;
    {
        EnfantCli enfant(Construction::Windows, Arguments(pourWindows.Chemin()),
                         racine / "sortie", racine / "erreurs");
        ASSERT_TRUE(enfant.Lance());
        const auto limite = std::chrono::steady_clock::now() + 60s;
        while (LireFichier(racine / "erreurs").find("Segment 3 de 16... réussi.") ==
                   std::string::npos &&
               !enfant.Fini() && std::chrono::steady_clock::now() < limite)
            std::this_thread::sleep_for(10ms);
        ASSERT_FALSE(enfant.Fini()) << LireFichier(racine / "erreurs");
        enfant.Tuer();
    }
    EXPECT_FALSE(fs::exists(pourWindows / "tue.bin"));
    std::vector<std::size_t> gardes;
    for (std::size_t i = 0; i * kSegment < kTaille; ++i)
        if (LireFichier(pourWindows / ("tue.bin." + std::to_string(i))).substr(0, kSegment) ==
            contenu.substr(i * kSegment, kSegment))
            gardes.push_back(i);
    EXPECT_GE(gardes.size(), 3u);
    fs::copy(pourWindows.Chemin(), pourLinux.Chemin(), fs::copy_options::recursive);

    serveur.OublierRequetes();
    const auto windows = ExecuterWindows(Arguments(pourWindows.Chemin()));
    EXPECT_EQ(windows.code, 0) << windows.erreurs;
    EXPECT_EQ(LireFichier(pourWindows / "tue.bin"), contenu);
    for (const auto& p : serveur.Plages("/rep/tue.bin"))
        for (const auto i : gardes)
            EXPECT_TRUE(p.fin < i * kSegment || p.debut >= (i + 1) * kSegment)
                << "segment " << i << " redemandé : " << p.debut << "-" << p.fin;
    EXPECT_EQ(std::distance(fs::directory_iterator(pourWindows.Chemin()), fs::directory_iterator()),
              1); // ni segment ni assemblage laissé
    const auto linux = ExecuterCli(Arguments(pourLinux.Chemin()));
    Comparer(linux, pourLinux.Chemin(), windows, pourWindows.Chemin());
}

// Ctrl-C (SIGINT, que wine remet au programme comme CTRL_C_EVENT) pendant le transfert :
// arrêt propre comme sous Linux, segment vérifié gardé, assemblage retiré, mêmes lignes.
TEST_F(WindowsTelecharger, CtrlCArretePropreCommeSousLinux) {
    ServeurDefaillant serveur;
    const std::string contenu = OctetsReproductibles(300000, 11);
    Publier("lent.bin", contenu, 100000, serveur.Hote());
    serveur.AjouterFichier("/rep/lent.bin", contenu);
    serveur.Ralentir("/rep/lent.bin", 1000, 50ms); // 5 s par segment
    DossierTemporaire pourLinux, pourWindows;
    std::vector<ResultatProcessus> resultats;
    for (const auto* dossier : {&pourLinux, &pourWindows}) {
        const bool windows = dossier == &pourWindows;
        SCOPED_TRACE(windows ? "Windows" : "Linux");
        EcrireFichier(*dossier / "lent.bin.0", contenu.substr(0, 100000));
        serveur.OublierRequetes();
        EnfantCli enfant(windows ? Construction::Windows : Construction::Linux,
                         Arguments(dossier->Chemin()), racine / "sortie", racine / "erreurs");
        ASSERT_TRUE(enfant.Lance());
        const auto limite = std::chrono::steady_clock::now() + 60s;
        while (!(serveur.Requetes() > 0 && fs::exists(*dossier / ".lent.bin.assemblage") &&
                 LireFichier(racine / "erreurs").find("Téléchargement...\n") !=
                     std::string::npos) &&
               !enfant.Fini() && std::chrono::steady_clock::now() < limite)
            std::this_thread::sleep_for(10ms);
        enfant.Signaler(SIGINT);
        const auto code = enfant.Attendre(60s);
        ASSERT_TRUE(code.has_value());
        resultats.push_back({*code, LireFichier(racine / "sortie"), LireFichier(racine / "erreurs")});
        EXPECT_EQ(Lignes(resultats.back().erreurs).back(), "Téléchargement annulé.")
            << resultats.back().erreurs;
        EXPECT_EQ(LireFichier(*dossier / "lent.bin.0"), contenu.substr(0, 100000));
        EXPECT_FALSE(fs::exists(*dossier / ".lent.bin.assemblage"));
        EXPECT_FALSE(fs::exists(*dossier / "lent.bin"));
    }
    EXPECT_EQ(resultats[0].code, 130);
    Comparer(resultats[0], pourLinux.Chemin(), resultats[1], pourWindows.Chemin());
}

// Les pannes du serveur, une par cas, rejouées à l'identique pour chaque programme :
// mêmes fichiers, mêmes plages demandées, mêmes lignes.
TEST_F(WindowsTelecharger, PannesDuServeurCommeSousLinux) {
    const std::string chemin = "/rep/f.bin";
    const struct {
        const char* nom;
        std::function<void(ServeurDefaillant&)> panne;
        bool detailTransport; // le texte de l'erreur vient du transport
        const char* attendu;  // une ligne que le journal doit montrer
    } cas[] = {
        {"segment corrompu réparé",
         [&](ServeurDefaillant& s) { s.Corrompre(chemin, 15000, 15001, 1); }, false,
         "Téléchargement corrompu : reprise du segment."},
        {"coupure", [&](ServeurDefaillant& s) { s.CouperApres(chemin, 12000, 1); }, true,
         "Segment 3 de 3... réussi."},
        {"503 puis reprise", [&](ServeurDefaillant& s) { s.RepondreStatut(chemin, 503, 1); },
         false, "Segment 3 de 3... réussi."},
    };
    ServeurDefaillant serveur;
    const std::string contenu = OctetsReproductibles(30000, 6);
    Publier("f.bin", contenu, 10000, serveur.Hote());
    serveur.AjouterFichier(chemin, contenu);
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        DossierTemporaire pourLinux, pourWindows;
        const auto rejouer = [&](const std::function<ResultatProcessus()>& lancer) {
            serveur.Reparer(chemin);
            c.panne(serveur);
            serveur.OublierRequetes();
            auto r = lancer();
            return std::pair{r, serveur.Plages(chemin)};
        };
        const auto [linux, plagesLinux] =
            rejouer([&] { return ExecuterCli(Arguments(pourLinux.Chemin())); });
        const auto [windows, plagesWindows] =
            rejouer([&] { return ExecuterWindows(Arguments(pourWindows.Chemin())); });
        ASSERT_EQ(linux.code, 0) << linux.erreurs;
        EXPECT_NE(linux.erreurs.find(c.attendu), std::string::npos) << linux.erreurs;
        EXPECT_EQ(LireFichier(pourWindows / "f.bin"), contenu);
        EXPECT_EQ(plagesWindows, plagesLinux);
        Comparer(linux, pourLinux.Chemin(), windows, pourWindows.Chemin(), c.detailTransport);
    }
}

// Par tinyproxy, sans puis avec identifiants donnés par --proxy : le mandataire relaie
// la requête du programme Windows, et le mot de passe n'est jamais écrit.
TEST_F(WindowsTelecharger, ParTinyproxyCommeSousLinux) {
    ServeurNginx nginx(racine.Chemin());
    const std::string contenu = OctetsReproductibles(30000, 5);
    Publier("f.bin", contenu, 10000, nginx.Hote());
    const struct {
        const char* nom;
        std::string utilisateur, motDePasse;
    } cas[] = {{"sans identifiants", "", ""}, {"avec identifiants", "passe", "muraille"}};
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        MandataireTinyproxy mandataire(c.utilisateur, c.motDePasse);
        const std::string identifiants =
            c.utilisateur.empty() ? "" : c.utilisateur + ":" + c.motDePasse + "@";
        const std::vector<std::string> options{
            "--proxy", identifiants + "127.0.0.1:" + std::to_string(mandataire.Port())};
        DossierTemporaire pourLinux, pourWindows;
        const auto linux = ExecuterCli(Arguments(pourLinux.Chemin(), options));
        const auto relaisLinux = mandataire.Journal().size();
        const auto windows = ExecuterWindows(Arguments(pourWindows.Chemin(), options));
        ASSERT_EQ(linux.code, 0) << linux.erreurs;
        EXPECT_EQ(LireFichier(pourWindows / "f.bin"), contenu);
        const auto relais = mandataire.Journal().substr(relaisLinux);
        EXPECT_NE(relais.find("/rep/f.bin"), std::string::npos) << relais;
        EXPECT_EQ((windows.sortie + windows.erreurs).find("muraille"), std::string::npos);
        Comparer(linux, pourLinux.Chemin(), windows, pourWindows.Chemin());
    }
}

// Une destination au nom non ASCII, donnée en chemin Unix ou en chemin Windows « Z:\… » :
// le dossier créé porte ce nom-là, en UTF-8 sur le disque, et rien d'autre n'apparaît.
TEST_F(WindowsTelecharger, DestinationNonAsciiEnCheminUnixOuWindows) {
    ServeurNginx nginx(racine.Chemin());
    const std::string contenu = OctetsReproductibles(30000, 7);
    Publier("f.bin", contenu, 10000, nginx.Hote());
    const struct {
        const char* nom;
        std::function<std::string(const std::string&)> forme;
    } cas[] = {{"chemin Unix", [](const std::string& s) { return s; }},
               {"chemin Z:\\", [](const std::string& s) { return CheminZ(s); }}};
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        DossierTemporaire baseLinux, baseWindows;
        const std::string pourLinux = baseLinux / "Élodie/Téléchargements";
        const std::string pourWindows = baseWindows / "Élodie/Téléchargements";
        const auto linux = ExecuterCli(Arguments(pourLinux));
        const auto windows = ExecuterWindows(Arguments(c.forme(pourWindows)));
        ASSERT_EQ(linux.code, 0) << linux.erreurs;
        EXPECT_EQ(LireFichier(pourWindows + "/f.bin"), contenu);
        std::vector<std::string> noms;
        for (const auto& e : fs::directory_iterator(baseWindows.Chemin()))
            noms.push_back(e.path().filename().string());
        EXPECT_EQ(noms, std::vector<std::string>{"Élodie"});
        Comparer(linux, pourLinux, windows, pourWindows);
    }
}

} // namespace
} // namespace emporteur::test
