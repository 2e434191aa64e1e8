// Le fichier entier se forme pendant le téléchargement, segment après segment, sous
// son nom réservé ; les fichiers de segments restent l'état de reprise, et un segment
// déjà bon n'est jamais récrit depuis un fichier entier faux.
#include "BancTache.h"

#include <future>
#include <thread>

namespace emporteur::test {
namespace {

using namespace std::chrono_literals;

TEST_F(BancTache, LAssemblageAvanceAvecLesSegmentsEtDisparaitALAnnulation) {
    constexpr std::uint32_t kSegment = 16 << 10;
    const std::string contenu = Octets(8 * kSegment);
    Ajouter("f.bin", contenu, kSegment);
    EcrireFichier(Segment("f.bin", 0), contenu.substr(0, kSegment)); // déjà là
    serveur.Ralentir("/rep/f.bin", 4096, 20ms);                      // 80 ms par segment
    const std::string assemblage = Assemblage("f.bin");
    for (const bool annuler : {false, true}) {
        SCOPED_TRACE(annuler ? "annulé" : "jusqu'au bout");
        std::filesystem::remove(Chemin("f.bin"));
        auto fil = std::async(std::launch::async, TacheTelechargement::ProcedureFil, &Preparer());
        const auto limite = std::chrono::steady_clock::now() + 10s;
        while (Segments("f.bin") < 4 && std::chrono::steady_clock::now() < limite)
            std::this_thread::sleep_for(2ms);
        // Le segment présent et les reçus sont déjà à leur place, avant la fin.
        const std::string avance = LireFichier(assemblage);
        ASSERT_GE(avance.size(), 3u * kSegment);
        EXPECT_TRUE(avance.substr(0, 3 * kSegment) == contenu.substr(0, 3 * kSegment));
        if (annuler) tache->Annuler();
        ASSERT_EQ(fil.wait_for(10s), std::future_status::ready);
        EXPECT_EQ(fil.get(), 0);
        EXPECT_FALSE(std::filesystem::exists(assemblage));
        EXPECT_EQ(Existe("f.bin"), !annuler);
        if (!annuler) {
            EXPECT_TRUE(LireFichier(Chemin("f.bin")) == contenu);
            EXPECT_EQ(Segments("f.bin"), 0);
        } else {
            EXPECT_GE(Segments("f.bin"), 4); // les segments vérifiés restent
        }
    }
}

TEST_F(BancTache, UnFichierEntierFauxNeRecritPasUnSegmentDejaBon) {
    const std::string contenu = Octets(4000);
    Ajouter("f.bin", contenu, 1000);
    std::string faux = contenu;
    faux[2500] = static_cast<char>(~faux[2500]); // segment 3
    EcrireFichier(Chemin("f.bin"), faux);
    EcrireFichier(Segment("f.bin", 2), contenu.substr(2000, 1000));
    EXPECT_EQ(Executer(), 0) << Journal();
    EXPECT_EQ(serveur.Requetes(), 0); // le segment 3 vient de son fichier, pas du réseau
    EXPECT_EQ(LireFichier(Chemin("f.bin")), contenu);
    EXPECT_EQ(LignesJournal()[4], "Segment 3 de 4... "); // le découpage le nomme quand même
}

} // namespace
} // namespace emporteur::test
