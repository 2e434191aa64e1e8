// Attente entre deux essais d'un segment : 1 s puis 2 s, ou ce que le serveur
// demande (60 s au plus), jamais après l'échec qui épuise le crédit ; annulable.
#include "BancTache.h"

#include "download/AttenteReprise.h"

#include <future>
#include <thread>

namespace emporteur::test {
namespace {

using namespace std::chrono_literals;
using Horloge = std::chrono::steady_clock;
using ms = std::chrono::milliseconds;

const std::string kMaximum =
    "Échec de téléchargement : atteinte du nombre maximal d'erreurs de transfert (3).";

TEST(DelaiReprise, UnePuisDeuxSecondesOuLaDemandeDuServeurPlafonnee) {
    const struct {
        int echecs;
        std::int32_t serveur;
        double alea;
        ms attendu;
    } cas[] = {
        {1, -1, 0.0, 1000ms}, {1, -1, 1.0, 1250ms}, {2, -1, 0.0, 2000ms}, {2, -1, 1.0, 2500ms},
        {7, -1, 0.0, 2000ms}, {1, 2, 1.0, 2000ms},  {2, 0, 0.5, 0ms},     {1, 86400, 0.0, 60s},
    };
    for (const auto& c : cas)
        EXPECT_EQ(DelaiReprise(c.echecs, c.serveur, c.alea), c.attendu)
            << c.echecs << " " << c.serveur << " " << c.alea;
    // L'aléa n'ajoute qu'au délai de base.
    for (double alea = 0; alea <= 1.0; alea += 0.125) {
        EXPECT_GE(DelaiReprise(1, -1, alea), 1s);
        EXPECT_GE(DelaiReprise(2, -1, alea), 2s);
    }
    EXPECT_TRUE(AttendreApres({CodeTransfert::Reprendre, 0, 0}));
    EXPECT_TRUE(AttendreApres({CodeTransfert::Reprendre, 0, 503}));
    EXPECT_TRUE(AttendreApres({CodeTransfert::Reprendre, 3000, 206}));
    EXPECT_FALSE(AttendreApres({CodeTransfert::Reprendre, 0, 401}));
    EXPECT_FALSE(AttendreApres({CodeTransfert::Reprendre, 0, 407}));
    EXPECT_FALSE(AttendreApres({CodeTransfert::Abandon, 0, 503}));
}

// Le journal reste celui d'avant ; seules les attentes s'ajoutent, entre les essais.
TEST_F(BancTache, AttentesEntreLesEssaisSelonLEchec) {
    const struct {
        const char* cas;
        int statut;
        int fois;
        const char* retryAfter;
        std::vector<ms> attentes;
        int resultat;
    } cas[] = {
        {"trois 503 : 1 s, 2 s, puis l'échec sans attente", 503, Toujours, "", {1s, 2s}, 1},
        {"deux 503 puis le segment", 503, 2, "", {1s, 2s}, 0},
        {"Retry-After: 2", 503, 1, "2", {2s}, 0},
        {"Retry-After plafonné à 60 s", 429, 1, "3600", {60s}, 0},
        {"401 refusé : l'utilisateur vient d'être interrogé", 401, 1, "", {}, 0},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.cas);
        ensemble.Fichiers.clear();
        attentes.clear();
        const std::string contenu = Octets(2000);
        Ajouter("f.bin", contenu, 1000);
        serveur.Reparer("/rep/f.bin");
        serveur.RepondreStatut("/rep/f.bin", c.statut, c.fois);
        serveur.DemanderAttente("/rep/f.bin", c.retryAfter);
        std::filesystem::remove(Chemin("f.bin"));
        EXPECT_EQ(Executer(), c.resultat) << Journal();
        ASSERT_EQ(attentes.size(), c.attentes.size());
        for (std::size_t i = 0; i < attentes.size(); ++i) {
            EXPECT_GE(attentes[i], c.attentes[i]);
            EXPECT_LE(attentes[i], c.attentes[i] * 5 / 4);
        }
        if (c.resultat == 1) {
            EXPECT_TRUE(Contient(LignesJournal(), "Segment 1 de 2... " + kMaximum));
        } else {
            EXPECT_EQ(LireFichier(Chemin("f.bin")), contenu);
        }
    }
}

TEST_F(BancTache, UneCorruptionSeRedemandeSansAttendre) {
    Ajouter("f.bin", Octets(2000), 1000);
    serveur.Corrompre("/rep/f.bin", 10, 11, 2);
    EXPECT_EQ(Executer(), 0);
    EXPECT_TRUE(attentes.empty());
}

// En temps réel : un serveur indisponible deux secondes ne fait pas échouer le fichier.
TEST_F(BancTache, UnServeurIndisponibleDeuxSecondesNEmpechePasLeTelechargement) {
    const std::string contenu = Octets(3000);
    Ajouter("f.bin", contenu, 1000);
    serveur.RepondreStatutPendant("/rep/f.bin", 503, 2s);
    Preparer().RemplacerSommeil(SommeilAnnulable);
    EXPECT_EQ(TacheTelechargement::ProcedureFil(tache.get()), 0) << Journal();
    EXPECT_EQ(LireFichier(Chemin("f.bin")), contenu);
    const auto arrivees = serveur.Arrivees("/rep/f.bin");
    ASSERT_EQ(arrivees.size(), 3u); // deux 503, puis les trois segments d'une requête
    EXPECT_GE(arrivees[1] - arrivees[0], 1s);
    EXPECT_GE(arrivees[2] - arrivees[1], 2s);
    const auto lignes = LignesJournal();
    EXPECT_EQ(std::count(lignes.begin(), lignes.end(),
                         "Segment 1 de 3... Erreur de téléchargement : \"Le serveur est "
                         "momentanément indisponible.\" code = 213503."),
              2);
}

TEST_F(BancTache, RetryAfterAttenduEnTempsReelEtAnnulableAussitot) {
    const std::string contenu = Octets(2000);
    Ajouter("f.bin", contenu, 1000);
    serveur.RepondreStatut("/rep/f.bin", 503, 1);
    serveur.DemanderAttente("/rep/f.bin", "2");
    Preparer().RemplacerSommeil(SommeilAnnulable);
    EXPECT_EQ(TacheTelechargement::ProcedureFil(tache.get()), 0) << Journal();
    auto arrivees = serveur.Arrivees("/rep/f.bin");
    ASSERT_GE(arrivees.size(), 2u);
    EXPECT_GE(arrivees[1] - arrivees[0], 2s);
    EXPECT_LT(arrivees[1] - arrivees[0], 5s); // « environ » : borne large

    // Une annulation pendant une longue attente revient aussitôt.
    std::filesystem::remove(Chemin("f.bin"));
    serveur.Reparer("/rep/f.bin");
    serveur.RepondreStatut("/rep/f.bin", 503);
    serveur.DemanderAttente("/rep/f.bin", "30");
    serveur.OublierRequetes();
    Preparer().RemplacerSommeil(SommeilAnnulable);
    auto fil = std::async(std::launch::async, TacheTelechargement::ProcedureFil, tache.get());
    const auto limite = Horloge::now() + 10s;
    while (serveur.Requetes() == 0 && Horloge::now() < limite)
        std::this_thread::sleep_for(5ms);
    std::this_thread::sleep_for(100ms);
    const auto debut = Horloge::now();
    auto annulation = std::async(std::launch::async, [&] { tache->Annuler(); });
    ASSERT_EQ(fil.wait_for(5s), std::future_status::ready);
    EXPECT_LT(Horloge::now() - debut, 1s);
    EXPECT_EQ(fil.get(), 0);
    annulation.get();
    EXPECT_EQ(serveur.Requetes(), 1);
    EXPECT_FALSE(Existe("f.bin"));
}

} // namespace
} // namespace emporteur::test
