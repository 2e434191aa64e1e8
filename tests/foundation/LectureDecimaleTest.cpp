// Une seule lecture décimale, trois façons de la ramener à 32 bits.
#include "foundation/LectureDecimale.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace emporteur {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

TEST(LectureDecimale, ModuloBorneEtLectureStricte) {
    const struct {
        const char* texte;
        std::uint32_t modulo;
        std::int32_t borne;
        bool strict;
    } cas[] = {
        {"42", 42u, 42, true},
        {"-7", 0xFFFFFFF9u, -7, true},
        {"+0", 0u, 0, true},
        {" \t\n\v\f\r12abc", 12u, 12, false}, // blancs d'isspace, arrêt au premier non-chiffre
        {"12 ", 12u, 12, false},
        {"abc", 0u, 0, false},
        {"", 0u, 0, false},
        {"-", 0u, 0, false},
        {"2147483647", 2147483647u, kMax, true},
        {"2147483648", 2147483648u, kMax, false},
        {"-2147483648", 2147483648u, kMin, true},
        {"-2147483649", 2147483647u, kMin, false},
        {"4294967295", 0xFFFFFFFFu, kMax, false},
        {"4294967296", 0u, kMax, false},
        {"99999999999999999999", 1661992959u, kMax, false},
        {"-99999999999999999999", 2632974337u, kMin, false},
    };
    for (const auto& c : cas) {
        const NombreDecimal n = LireDecimal(c.texte);
        EXPECT_EQ(n.Modulo(), c.modulo) << c.texte;
        EXPECT_EQ(n.Borne(), c.borne) << c.texte;
        std::int32_t v = 123;
        EXPECT_EQ(LireEntierStrict(c.texte, v), c.strict) << c.texte;
        EXPECT_EQ(v, c.strict ? c.borne : 123) << c.texte;
    }
}

} // namespace
} // namespace emporteur
