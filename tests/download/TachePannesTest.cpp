// Pannes pendant la tâche : crédit de reprise, erreurs définitives du serveur,
// identifiants, coupure, blocage, plage ignorée, mandataire, écriture impossible.
#include "BancTache.h"

#include "outils/MandataireTinyproxy.h"

#include <chrono>

namespace emporteur::test {
namespace {

const std::string kMaximum =
    "Échec de téléchargement : atteinte du nombre maximal d'erreurs de transfert (3).";

TEST_F(BancTache, TroisEchecsDeSuiteFontEchouerLeFichierEtLesAutresSontTentes) {
    const std::string contenu = Octets(30000);
    Ajouter("un.bin", contenu, 10000);
    serveur.Corrompre("/rep/un.bin", 10000, 10010, Toujours);
    const std::string autre = Octets(5000, 9);
    Ajouter("deux.bin", autre, 4096);

    EXPECT_EQ(Executer(), 1);
    const auto lignes = LignesJournal();
    EXPECT_TRUE(Contient(lignes, "Segment 2 de 3... " + kMaximum)) << Journal();
    EXPECT_EQ(std::count(lignes.begin(), lignes.end(),
                         "Segment 2 de 3... Téléchargement corrompu : reprise du segment."),
              3);
    // Les segments 1 et 2 d'une requête, puis deux essais du 2 et de la suite.
    EXPECT_EQ(
        serveur.Plages("/rep/un.bin"),
        (std::vector<PlageServie>{{0, 29999, 206}, {10000, 29999, 206}, {10000, 29999, 206}}));
    EXPECT_FALSE(ensemble.Fichiers[0]->EstReussi);
    EXPECT_FALSE(Existe("un.bin"));
    EXPECT_EQ(LireFichier(Segment("un.bin", 0)), contenu.substr(0, 10000)); // gardé
    EXPECT_TRUE(ensemble.Fichiers[1]->EstReussi);
    EXPECT_EQ(LireFichier(Chemin("deux.bin")), autre);
    EXPECT_EQ(ensemble.TailleFaite, 35000u); // un échec compte aussi comme traité
}

TEST_F(BancTache, DesEchecsEspacesParDesReussitesNEpuisentPasLeCredit) {
    const std::string contenu = Octets(60000);
    Ajouter("espace.bin", contenu, 10000);
    // Une zone compte chaque réponse qui la couvre, même arrêtée avant elle.
    serveur.CouperApres("/rep/espace.bin", 5000, 1);       // segment 1 : une coupure
    serveur.Corrompre("/rep/espace.bin", 12000, 12001, 2); // segment 2 : une fois
    serveur.Corrompre("/rep/espace.bin", 45000, 45001, 4); // segment 5 : deux fois
    EXPECT_EQ(Executer(), 0) << Journal();
    EXPECT_EQ(serveur.Plages("/rep/espace.bin"), (std::vector<PlageServie>{{0, 59999, 206},
                                                                           {0, 59999, 206},
                                                                           {10000, 59999, 206},
                                                                           {40000, 59999, 206},
                                                                           {40000, 59999, 206}}));
    EXPECT_EQ(LireFichier(Chemin("espace.bin")), contenu);
    EXPECT_TRUE(Contient(LignesJournal(),
                         "Segment 1 de 6... Erreur de téléchargement : \"La connexion a été "
                         "coupée avant la fin des données.\" code = 29."));
}

TEST_F(BancTache, UneReponse2xxCourteEstUnSegmentCorrompu) {
    // Le premier essai arrive abîmé sur ses 10 premiers octets ; le deuxième n'apporte que
    // ces 10 octets, justes : le tampon paraîtrait complet, mais un segment ne se juge
    // que sur une réponse entière.
    for (const bool ignorerPlage : {false, true}) {
        const std::string nom = ignorerPlage ? "court200.bin" : "court206.bin";
        const std::string chemin = "/rep/" + nom;
        const std::string contenu = Octets(3000);
        Ajouter(nom, contenu, 1000);
        serveur.Corrompre(chemin, 0, 10, 1);
        serveur.Raccourcir(chemin, 10, 1, 1);
        if (ignorerPlage) serveur.IgnorerPlage(chemin);
        EXPECT_EQ(Executer(), 0) << Journal();
        const auto lignes = LignesJournal();
        EXPECT_EQ(std::count(lignes.begin(), lignes.end(),
                             "Segment 1 de 3... Téléchargement corrompu : reprise du segment."),
                  2)
            << Journal();
        const auto plages = serveur.Plages(chemin);
        ASSERT_EQ(plages.size(), 3u); // trois essais du segment 1, le dernier avec 2 et 3
        EXPECT_EQ(plages[1], (PlageServie{0, 9, ignorerPlage ? 200 : 206}));
        EXPECT_EQ(LireFichier(Chemin(nom)), contenu);
        ensemble.Fichiers.clear();
    }
}

TEST_F(BancTache, ErreursDefinitivesEtRepriseApresUn503) {
    Ajouter("absent.bin", Octets(1000), 1000);
    serveur.RepondreStatut("/rep/absent.bin", 404);
    const std::string contenu = Octets(3000, 3);
    Ajouter("instable.bin", contenu, 1000);
    serveur.RepondreStatut("/rep/instable.bin", 503, 1);

    EXPECT_EQ(Executer(), 1);
    const auto lignes = LignesJournal();
    EXPECT_TRUE(
        Contient(lignes, "Segment 1 de 1... Erreur de téléchargement : fichier introuvable."));
    EXPECT_EQ(serveur.Requetes("/rep/absent.bin"), 1); // définitif : aucune reprise
    EXPECT_FALSE(ensemble.Fichiers[0]->EstReussi);
    EXPECT_TRUE(Contient(lignes, "Segment 1 de 3... Erreur de téléchargement : \"Le serveur "
                                 "est momentanément indisponible.\" code = 213503."))
        << Journal();
    EXPECT_TRUE(ensemble.Fichiers[1]->EstReussi);
    EXPECT_EQ(LireFichier(Chemin("instable.bin")), contenu);
}

TEST_F(BancTache, Un401DemandeLesIdentifiantsAccordesOuRefuses) {
    const std::string contenu = Octets(2500);
    Ajouter("prive.bin", contenu, 1000);
    serveur.ExigerIdentifiants("/rep/prive.bin", "anne", "secret");
    ui.identifiants = {{"anne", "secret"}};
    EXPECT_EQ(Executer(), 0) << Journal();
    EXPECT_EQ(LireFichier(Chemin("prive.bin")), contenu);
    EXPECT_EQ(ui.Appels("Identifiants").size(), 1u); // la poignée les garde

    std::filesystem::remove(Chemin("prive.bin"));
    ui.identifiants.clear(); // chaque question est refusée
    EXPECT_EQ(Executer(), 1);
    const auto lignes = LignesJournal();
    EXPECT_EQ(std::count(lignes.begin(), lignes.end(),
                         "Segment 1 de 3... Erreur de téléchargement : accès refusé."),
              3);
    EXPECT_TRUE(Contient(lignes, "Segment 1 de 3... " + kMaximum));
    EXPECT_FALSE(Existe("prive.bin"));
}

TEST_F(BancTache, UnServeurBloqueFinitEnErreurAReprendreSansPendre) {
    VariableTemporaire delai("EMPORTEUR_DELAI_BLOCAGE", "1");
    Ajouter("bloque.bin", Octets(20000), 10000);
    serveur.Bloquer("/rep/bloque.bin", 0); // en-têtes, puis plus rien
    const auto debut = std::chrono::steady_clock::now();
    EXPECT_EQ(Executer(), 1);
    // Garde-fou contre l'attente infinie, pas une mesure de vitesse.
    EXPECT_LT(std::chrono::steady_clock::now() - debut, std::chrono::seconds(30));
    const auto lignes = LignesJournal();
    EXPECT_EQ(std::count_if(lignes.begin(), lignes.end(),
                            [](const std::string& l) {
                                return l.starts_with("Segment 1 de 2... Erreur de téléchargement "
                                                     ": \"Le délai d'attente de l'opération a "
                                                     "expiré.\" code = ");
                            }),
              3)
        << Journal();
    EXPECT_TRUE(Contient(lignes, "Segment 1 de 2... " + kMaximum));
    EXPECT_EQ(Segments("bloque.bin"), 0); // des octets partiels ne font pas un segment
}

TEST_F(BancTache, PlageIgnoreeEtMandataireDonnentLeBonFichier) {
    const std::string contenu = Octets(25000);
    Ajouter("entier.bin", contenu, 10000);
    serveur.IgnorerPlage("/rep/entier.bin");
    EXPECT_EQ(Executer(), 0) << Journal();
    EXPECT_EQ(LireFichier(Chemin("entier.bin")), contenu);
    for (const auto& p : serveur.Plages("/rep/entier.bin"))
        EXPECT_EQ(p.statut, 200);

    MandataireTinyproxy mandataire;
    std::filesystem::remove(Chemin("entier.bin"));
    serveur.Reparer("/rep/entier.bin");
    ensemble.Connexion = {"127.0.0.1", mandataire.Port()};
    EXPECT_EQ(Executer(), 0) << Journal();
    EXPECT_EQ(LireFichier(Chemin("entier.bin")), contenu);
    EXPECT_NE(serveur.DerniereEntete("Via").find("tinyproxy"), std::string::npos);
    EXPECT_EQ(serveur.DerniereEntete("Range"), "bytes=0-24999"); // tout le fichier d'un coup
}

TEST_F(BancTache, SegmentImpossibleAEcrire) {
    Ajouter("bloque.bin", Octets(3000), 1000);
    std::filesystem::create_directory(Segment("bloque.bin", 1)); // occupe le nom du segment
    EXPECT_EQ(Executer(), 1);
    EXPECT_TRUE(Contient(LignesJournal(), "Segment 2 de 3... Échec de téléchargement : "
                                          "impossible d'écrire sur le disque : erreur code 1."));
    EXPECT_EQ(serveur.Requetes(), 1);
    EXPECT_FALSE(Existe("bloque.bin"));
}

} // namespace
} // namespace emporteur::test
