#include "assistant/DefilementListe.h"

#include <gtest/gtest.h>

#include <tuple>

namespace emporteur {
namespace {

TEST(DefilementListe, PasEtBornesDeLaBarre) {
    // Contenu 600 dans un cadre de 200 : maximum 400, ligne 20, page 40.
    const std::tuple<EtatDefilement, ActionBarre, int, int> cas[] = {
        {{0, 600, 200}, ActionBarre::LigneBas, 0, 20},
        {{390, 600, 200}, ActionBarre::PageBas, 0, 400},
        {{10, 600, 200}, ActionBarre::LigneHaut, 0, 0},
        {{100, 600, 200}, ActionBarre::PageHaut, 0, 60},
        {{0, 600, 200}, ActionBarre::Curseur, 500, 400},
        {{77, 600, 200}, ActionBarre::Autre, 0, 77},
        {{0, 260, 200}, ActionBarre::LigneBas, 0, 5}, // pas minimal
        // Le contenu tient dans le cadre : rien ne bouge, même au curseur.
        {{0, 100, 200}, ActionBarre::LigneBas, 0, 0},
        {{0, 100, 200}, ActionBarre::Curseur, 150, 0},
    };
    for (const auto& [etat, action, curseur, attendu] : cas)
        EXPECT_EQ(Defiler(etat, action, curseur), attendu) << etat.decalage << " " << curseur;
}

} // namespace
} // namespace emporteur
