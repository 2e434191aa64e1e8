// Le relevé de la page : un seul instant, le journal recopié seulement s'il a changé.
#include "download/Progression.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace emporteur {
namespace {

TEST(Progression, LeJournalNEstRecopieQueSIlAChange) {
    Progression p;
    std::uint64_t version = 0;
    auto r = p.Lire(version);
    EXPECT_FALSE(r.JournalChange);
    EXPECT_FALSE(r.Fini);

    p.AjouterMessage("Segment 1 de 2... ", false);
    p.FixerPourcentages(40, 20);
    p.FixerRestant(1500, "0 min 12 s");
    r = p.Lire(version);
    EXPECT_TRUE(r.JournalChange);
    EXPECT_EQ(r.Journal, "Segment 1 de 2... ");
    EXPECT_EQ(r.PourcentageSegment, 40);
    EXPECT_EQ(r.PourcentageTotal, 20);
    EXPECT_EQ(r.OctetsRestants, 1500u);
    EXPECT_EQ(r.TempsRestant, "0 min 12 s");

    p.FixerPourcentages(80, 40); // les nombres changent, pas le journal
    r = p.Lire(version);
    EXPECT_FALSE(r.JournalChange);
    EXPECT_EQ(r.Journal, "");
    EXPECT_EQ(r.PourcentageSegment, 80);

    p.AjouterMessage("réussi.");
    std::uint64_t autreLecteur = 0; // chaque lecteur suit sa propre version
    EXPECT_EQ(p.Lire(autreLecteur).Journal, "Segment 1 de 2... réussi.\r\n");
    EXPECT_EQ(p.Lire(version).Journal, "Segment 1 de 2... réussi.\r\n");
}

TEST(Progression, UnReleveFiniPorteLeJournalComplet) {
    for (int essai = 0; essai < 50; ++essai) {
        Progression p;
        std::thread travail([&] {
            for (int i = 0; i < 100; ++i)
                p.AjouterMessage("ligne " + std::to_string(i));
            p.Terminer();
        });
        std::uint64_t version = 0;
        std::string journal;
        for (;;) {
            auto r = p.Lire(version);
            if (r.JournalChange) journal = std::move(r.Journal);
            if (r.Fini) break;
        }
        travail.join();
        ASSERT_TRUE(journal.ends_with("ligne 99\r\n")) << essai;
    }
}

} // namespace
} // namespace emporteur
