// Le guichet des questions entre un fil qui pose et le fil qui sert.
#include "foundation/GuichetQuestions.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <stdexcept>
#include <thread>

namespace emporteur {
namespace {

using namespace std::chrono_literals;

// Pose `n` questions depuis autant de fils et attend qu'elles soient toutes déposées.
std::vector<std::future<bool>> Poser(GuichetQuestions& g, std::vector<int>& ordre, int n,
                                     bool leve = false) {
    std::vector<std::future<bool>> fils;
    for (int i = 0; i < n; ++i) {
        fils.push_back(std::async(std::launch::async, [&g, &ordre, i, leve] {
            return g.Poser([&ordre, i, leve] {
                if (leve) throw std::runtime_error("boîte fermée");
                ordre.push_back(i);
            });
        }));
        while (g.EnAttente() != static_cast<std::size_t>(i + 1))
            std::this_thread::sleep_for(1ms);
    }
    return fils;
}

TEST(GuichetQuestions, ServiesDansLOrdreRefuseesSansEtreExecutees) {
    GuichetQuestions g;
    std::atomic<int> reveils = 0;
    g.FixerReveil([&] { ++reveils; });
    std::vector<int> ordre;

    auto servies = Poser(g, ordre, 3);
    EXPECT_EQ(reveils, 3);
    EXPECT_EQ(g.Servir(), 3u);
    for (auto& f : servies)
        EXPECT_TRUE(f.get());
    EXPECT_EQ(ordre, (std::vector<int>{0, 1, 2}));

    ordre.clear();
    auto refusees = Poser(g, ordre, 2);
    EXPECT_EQ(g.Refuser(), 2u);
    for (auto& f : refusees)
        EXPECT_FALSE(f.get());
    EXPECT_EQ(g.Servir(), 0u); // rien ne reste à exécuter
    EXPECT_TRUE(ordre.empty());

    // Une question qui lève n'a pas de réponse : refusée pour son auteur.
    auto levees = Poser(g, ordre, 1, true);
    EXPECT_EQ(g.Servir(), 0u);
    EXPECT_FALSE(levees[0].get());
    EXPECT_EQ(g.EnAttente(), 0u);
}

} // namespace
} // namespace emporteur
