// Une requête par suite de segments à recevoir : les compteurs du serveur le prouvent,
// et le journal, le crédit et les fichiers de segments restent ceux d'une requête par
// segment.
#include "BancTache.h"

#include "outils/ServeurNginx.h"

#include <sstream>

namespace emporteur::test {
namespace {

const std::string kCorrompu = "Téléchargement corrompu : reprise du segment.";

// Journal attendu d'un fichier de `n` segments, chacun décrit par les issues de ses
// essais ("réussi." à la fin), sans assemblage.
std::string JournalAttendu(std::uint32_t n, const std::vector<std::vector<std::string>>& issues) {
    std::string j = "Initialisation.\r\nTéléchargement...\r\n";
    for (std::uint32_t i = 0; i < n; ++i)
        for (const auto& issue : issues[i])
            j += "Segment " + std::to_string(i + 1) + " de " + std::to_string(n) + "... " + issue +
                 "\r\n";
    return j;
}

std::string Telechargement(const std::string& journal) {
    return journal.substr(0, journal.find("Concaténation des segments."));
}

TEST_F(BancTache, SuitesDemandeesChacuneEnUneRequete) {
    const std::string contenu = Octets(8000);
    const struct {
        const char* cas;
        std::vector<std::uint32_t> presents; // segments valides sur le disque
        std::vector<PlageServie> plages;
    } cas[] = {
        {"fichier neuf", {}, {{0, 7999, 206}}},
        {"segments 2 et 5 présents", {1, 4}, {{0, 999, 206}, {2000, 3999, 206}, {5000, 7999, 206}}},
        {"seul le dernier manque", {0, 1, 2, 3, 4, 5, 6}, {{7000, 7999, 206}}},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.cas);
        ensemble.Fichiers.clear();
        serveur.OublierRequetes();
        std::filesystem::remove(Chemin("f.bin"));
        Ajouter("f.bin", contenu, 1000);
        for (const auto i : c.presents)
            EcrireFichier(Segment("f.bin", i), contenu.substr(i * 1000, 1000));
        EXPECT_EQ(Executer(), 0) << Journal();
        EXPECT_EQ(serveur.Plages("/rep/f.bin"), c.plages);
        EXPECT_EQ(LireFichier(Chemin("f.bin")), contenu);
        EXPECT_EQ(Telechargement(Journal()),
                  JournalAttendu(8, std::vector<std::vector<std::string>>(8, {"réussi."})));
        EXPECT_TRUE(attentes.empty());
    }
}

// Une panne au milieu d'une suite coûte une requête de plus, qui part du segment touché ;
// le journal est celui qu'une requête par segment donnerait.
TEST_F(BancTache, PanneAuMilieuDUneSuiteReprendAuSegmentTouche) {
    const std::string contenu = Octets(6000);
    const std::string coupure = "Erreur de téléchargement : \"La connexion a été coupée avant la "
                                "fin des données.\" code = 29.";
    const struct {
        const char* cas;
        std::function<void(ServeurDefaillant&)> panne;
        std::string issue3; // premier essai du segment 3
        std::size_t attentes;
    } cas[] = {
        {"segment 3 corrompu une fois",
         [](ServeurDefaillant& s) { s.Corrompre("/rep/f.bin", 2500, 2501, 1); }, kCorrompu, 0},
        {"connexion coupée dans le segment 3",
         [](ServeurDefaillant& s) { s.CouperApres("/rep/f.bin", 2500, 1); }, coupure, 1},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.cas);
        ensemble.Fichiers.clear();
        attentes.clear();
        std::filesystem::remove(Chemin("f.bin"));
        Ajouter("f.bin", contenu, 1000);
        serveur.Reparer("/rep/f.bin");
        serveur.OublierRequetes();
        c.panne(serveur);
        EXPECT_EQ(Executer(), 0) << Journal();
        EXPECT_EQ(serveur.Plages("/rep/f.bin"),
                  (std::vector<PlageServie>{{0, 5999, 206}, {2000, 5999, 206}}));
        std::vector<std::vector<std::string>> issues(6, {"réussi."});
        issues[2] = {c.issue3, "réussi."};
        EXPECT_EQ(Telechargement(Journal()), JournalAttendu(6, issues));
        EXPECT_EQ(attentes.size(), c.attentes); // une corruption n'attend pas
        EXPECT_EQ(LireFichier(Chemin("f.bin")), contenu);
    }
}

// Une réponse propre qui s'arrête avant la fin de la suite n'est pas un échec tant
// qu'elle complète un segment ; sinon c'est un segment corrompu, qui use le crédit.
TEST_F(BancTache, ReponseCourteMaisPropreSansCoutTantQuUnSegmentSeComplete) {
    const std::string contenu = Octets(8000);
    const struct {
        std::uint64_t octets; // au plus, par réponse
        std::size_t requetes;
        int resultat;
    } cas[] = {
        {2500, 4, 0}, // segments 1-2, 3-4, 5-6, 7-8
        {1000, 8, 0}, // un segment par réponse
        {999, 3, 1},  // aucun segment complet : trois corruptions
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.octets);
        ensemble.Fichiers.clear();
        std::filesystem::remove(Chemin("f.bin"));
        Ajouter("f.bin", contenu, 1000);
        serveur.Reparer("/rep/f.bin");
        serveur.OublierRequetes();
        serveur.Raccourcir("/rep/f.bin", c.octets);
        const int resultat = Executer();
        EXPECT_EQ(resultat, c.resultat) << Journal();
        EXPECT_EQ(serveur.Requetes("/rep/f.bin"), static_cast<int>(c.requetes)) << Journal();
        if (c.resultat == 0) {
            EXPECT_EQ(LireFichier(Chemin("f.bin")), contenu);
            EXPECT_EQ(Journal().find(kCorrompu), std::string::npos);
            EXPECT_TRUE(attentes.empty());
        } else {
            EXPECT_TRUE(Contient(LignesJournal(), "Segment 1 de 8... " + kCorrompu));
            EXPECT_EQ(Segments("f.bin"), 0);
        }
    }
}

TEST_F(BancTache, Un200AUneSuiteQuiCommenceAuSegment4SauteLesOctetsQuiPrecedent) {
    const std::string contenu = Octets(8000);
    Ajouter("f.bin", contenu, 1000);
    for (std::uint32_t i = 0; i < 3; ++i)
        EcrireFichier(Segment("f.bin", i), contenu.substr(i * 1000, 1000));
    serveur.IgnorerPlage("/rep/f.bin");
    EXPECT_EQ(Executer(), 0) << Journal();
    EXPECT_EQ(serveur.Plages("/rep/f.bin"), (std::vector<PlageServie>{{0, 7999, 200}}));
    EXPECT_EQ(serveur.DerniereEntete("Range"), "bytes=3000-7999");
    EXPECT_EQ(LireFichier(Chemin("f.bin")), contenu);
}

TEST_F(BancTache, UnePlageQuiNeCommencePasOuDemandeeUseLeCredit) {
    Ajouter("f.bin", Octets(4000), 1000);
    EcrireFichier(Segment("f.bin", 0), Octets(4000).substr(0, 1000));
    serveur.DecalerPlage("/rep/f.bin", -1);
    EXPECT_EQ(Executer(), 1);
    EXPECT_EQ(serveur.Requetes("/rep/f.bin"), 3);
    const auto lignes = LignesJournal();
    EXPECT_EQ(std::count_if(lignes.begin(), lignes.end(),
                            [](const std::string& l) {
                                return l.starts_with("Segment 2 de 4... Erreur de téléchargement "
                                                     ": \"La plage reçue ne correspond pas");
                            }),
              3)
        << Journal();
    EXPECT_EQ(Segments("f.bin"), 1); // le segment vérifié reste
}

// nginx sans plages (max_ranges 0) répond 200 et le fichier entier : un seul corps pour
// tout le fichier, chaque segment à recevoir pris au passage.
TEST(SuitesNginx, UnServeurSansPlagesNEnvoieQuUnCorps) {
    EnvironnementIsole environnement;
    VariableTemporaire tous("all_proxy", std::nullopt), http("HTTP_PROXY", std::nullopt);
    DossierTemporaire racine, destination;
    constexpr std::uint32_t kTaille = 64u << 20, kSegment = 1u << 20;
    const std::string contenu = Octets(kTaille, 11);
    std::filesystem::create_directories(racine / "rep");
    EcrireFichier(racine / "rep/gros.bin", contenu);
    ServeurNginx nginx(racine.Chemin(), "max_ranges 0;");
    EnsembleFichiers ensemble;
    ensemble.Dossier = destination.Chemin() + "/";
    auto ing = std::make_unique<Ingredient>();
    ing->Site = nginx.Hote();
    ing->Repertoire = "rep";
    ing->NomDistant = ing->NomLocal = "gros.bin";
    ing->Taille = static_cast<std::int32_t>(kTaille);
    ing->TailleSegment = static_cast<std::int32_t>(kSegment);
    ing->Crcs = ListeCrc(contenu, kSegment);
    ensemble.Fichiers.push_back(std::move(ing));
    // Trois suites : [1], [3–4], [6–64].
    for (const std::uint32_t i : {1u, 4u})
        EcrireFichier(destination / ("gros.bin." + std::to_string(i)),
                      contenu.substr(i * kSegment, kSegment));
    TacheTelechargement tache(&ensemble);
    tache.RemplacerRequeteEspace([](const std::string&, std::uint64_t& libre, int&) {
        libre = std::uint64_t{1} << 40;
        return true;
    });
    EXPECT_EQ(TacheTelechargement::ProcedureFil(&tache), 0) << tache.Etat().Journal();
    EXPECT_TRUE(LireFichier(destination / "gros.bin") == contenu);
    std::istringstream journal(nginx.JournalAcces());
    std::uint64_t envoyes = 0;
    int requetes = 0;
    for (std::string ligne; std::getline(journal, ligne); ++requetes) {
        EXPECT_NE(ligne.find(" 200 "), std::string::npos) << ligne;
        envoyes += std::stoull(ligne.substr(ligne.rfind(' ') + 1));
    }
    EXPECT_EQ(requetes, 1);
    EXPECT_LE(envoyes, kTaille + kTaille / 10);
    std::cout << "[ mesures  ] " << envoyes << " octets envoyés pour " << kTaille << std::endl;
}

} // namespace
} // namespace emporteur::test
