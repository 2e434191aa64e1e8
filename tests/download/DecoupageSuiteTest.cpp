// Découpage d'une suite reçue en morceaux quelconques : chaque segment remis entier,
// une fois, dans l'ordre ; un refus laisse le segment courant à redemander.
#include "download/DecoupageSuite.h"

#include "outils/DossierTemporaire.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace emporteur::test {
namespace {

TEST(DecoupageSuite, MorceauxAChevalSurLesSegmentsEtRefus) {
    const PlanSegments plan(10, 4); // 4, 4, 2
    const std::string octets = OctetsReproductibles(10, 1);
    const struct {
        std::uint32_t premier, fin;
        std::vector<std::size_t> morceaux;
        int refuse; // index refusé, -1 aucun
        std::vector<std::string> remis;
        std::uint32_t courant;
        bool retour;
    } cas[] = {
        {0, 3, {10}, -1, {octets.substr(0, 4), octets.substr(4, 4), octets.substr(8, 2)}, 3, true},
        {0,
         3,
         {1, 5, 3, 1},
         -1,
         {octets.substr(0, 4), octets.substr(4, 4), octets.substr(8)},
         3,
         true},
        {1, 3, {3, 2}, -1, {octets.substr(4, 4)}, 2, true}, // segment 3 encore incomplet
        {0, 3, {6, 4}, 1, {octets.substr(0, 4), octets.substr(4, 4)}, 1, false},
        {0, 1, {4, 1}, -1, {octets.substr(0, 4)}, 1, false}, // au-delà de la suite
    };
    for (const auto& c : cas) {
        std::vector<char> tampon;
        std::vector<std::string> remis;
        DecoupageSuite d(plan, c.premier, c.fin, tampon,
                         [&](std::uint32_t i, const char* o, std::uint32_t n) {
                             remis.emplace_back(o, n);
                             return static_cast<int>(i) != c.refuse;
                         });
        std::size_t position = plan.Debut(c.premier);
        bool retour = true;
        for (const auto n : c.morceaux) {
            retour = d.Recevoir(octets.data() + position, n);
            if (!retour) break;
            position += n;
        }
        EXPECT_EQ(remis, c.remis) << c.premier << " " << c.morceaux.size();
        EXPECT_EQ(d.Courant(), c.courant);
        EXPECT_EQ(retour, c.retour);
        EXPECT_LE(tampon.size(), 4u); // jamais plus d'un segment
    }
    std::vector<char> tampon;
    EXPECT_EQ(DecoupageSuite(plan, 1, 3, tampon, {}).Longueur(), 6u);
}

} // namespace
} // namespace emporteur::test
