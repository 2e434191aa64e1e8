#include "download/PlanSegments.h"
#include "download/FormaterTaille.h"

#include <gtest/gtest.h>

namespace emporteur {
namespace {

TEST(PlanSegments, NombreDebutsEtLongueurs) {
    const PlanSegments dix(10, 4);
    EXPECT_EQ(dix.Nombre(), 3u);
    EXPECT_EQ(dix.Longueur(0), 4u);
    EXPECT_EQ(dix.Longueur(1), 4u);
    EXPECT_EQ(dix.Longueur(2), 2u);
    EXPECT_EQ(dix.Debut(2), 8u);
    EXPECT_EQ(dix.Longueur(3), 0u);

    const PlanSegments huit(8, 4);
    EXPECT_EQ(huit.Nombre(), 2u);
    EXPECT_EQ(huit.Longueur(1), 4u);

    const PlanSegments petit(3, 1000);
    EXPECT_EQ(petit.Nombre(), 1u);
    EXPECT_EQ(petit.Longueur(0), 3u);

    // Près de 4 Gio : aucun débordement de 32 bits.
    const PlanSegments grand(0xFFFFFFFFu, 0x80000000u);
    EXPECT_EQ(grand.Nombre(), 2u);
    EXPECT_EQ(grand.Debut(1), 0x80000000u);
    EXPECT_EQ(grand.Longueur(1), 0x7FFFFFFFu);
}

// La règle unique d'un plan utilisable : premier défaut dans l'ordre des messages du
// téléchargement.
TEST(PlanSegments, UnSeulDefautParPlanDansLOrdreDuTelechargement) {
    constexpr std::uint32_t max = kTailleSegmentMax;
    const struct {
        std::uint32_t taille, segment;
        std::size_t crcs;
        DefautPlan defaut;
    } cas[] = {
        {10, 4, 3, DefautPlan::Aucun},
        {10, 4, 2, DefautPlan::NombreCrcs},
        {10, 4, 4, DefautPlan::NombreCrcs},
        {0, 4, 0, DefautPlan::TailleNulle},
        {10, 0, 0, DefautPlan::TailleNulle},
        {10, max, 1, DefautPlan::Aucun},
        {10, max + 1, 1, DefautPlan::SegmentTropGrand},
        {10, max + 1, 2, DefautPlan::NombreCrcs},
        {0xFFFFFFFFu, 0xFFFFFFFFu, 1, DefautPlan::SegmentTropGrand}, // "-1" lu non signé
        {1, 1, 1, DefautPlan::Aucun},
    };
    for (const auto& c : cas) {
        const PlanSegments plan(c.taille, c.segment);
        EXPECT_EQ(plan.Defaut(c.crcs), c.defaut) << c.taille << " " << c.segment << " " << c.crcs;
        EXPECT_EQ(plan.EstUtilisable(c.crcs), c.defaut == DefautPlan::Aucun);
    }
    EXPECT_EQ(PlanSegments(10, 0).Nombre(), 0u);
    EXPECT_EQ(TexteLimiteSegment(), "de 1 à 67108864 octets (64 Mio)");
}

TEST(PlanSegments, SegmentDUnePosition) {
    const PlanSegments plan(10, 4);
    const std::pair<std::uint64_t, std::uint32_t> cas[] = {{0, 0}, {3, 0}, {4, 1}, {9, 2},
                                                           {10, 3}, {1u << 31, 3}};
    for (const auto& [position, segment] : cas)
        EXPECT_EQ(plan.SegmentDe(position), segment) << position;
    EXPECT_EQ(PlanSegments(10, 0).SegmentDe(0), 0u);
}

TEST(PlanSegments, TaillesDeLIngredientLuesNonSignees) {
    Ingredient ing;
    ing.Taille = -1; // 4294967295 octets
    ing.TailleSegment = 1 << 30;
    const PlanSegments plan(ing);
    EXPECT_EQ(plan.Taille(), 0xFFFFFFFFu);
    EXPECT_EQ(plan.Nombre(), 4u);
    EXPECT_EQ(plan.Longueur(3), (1u << 30) - 1);
}

TEST(FormaterTaille, VirgulesEtMegaoctets) {
    const struct {
        std::uint32_t octets;
        const char* texte;
        const char* mega;
    } cas[] = {{0, "0", "0,00"},
               {999, "999", "0,00"},
               {1234, "1,234", "0,00"},
               {5000, "5,000", "0,00"},
               {5001, "5,001", "0,01"},
               {123456, "123,456", "0,12"},
               {1234567, "1,234,567", "1,23"},
               {1234567890, "1234,567,890", "1234,57"},
               {1000000, "1,000,000", "1,00"}};
    for (const auto& c : cas) {
        std::string texte, mega;
        FormaterTaille(c.octets, texte, mega);
        EXPECT_EQ(texte, c.texte) << c.octets;
        EXPECT_EQ(mega, c.mega) << c.octets;
    }
    // Au-delà de 2 Gio le texte d'octets est celui d'un entier signé ; les
    // mégaoctets restent non signés.
    std::string texte, mega;
    FormaterTaille(3000000000u, texte, mega);
    EXPECT_EQ(texte, "-1294,967,296");
    EXPECT_EQ(mega, "3000,00");
}

} // namespace
} // namespace emporteur
