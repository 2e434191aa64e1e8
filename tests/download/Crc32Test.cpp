#include "download/Crc32.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>
#include <zlib.h>

namespace emporteur {
namespace {

std::vector<unsigned char> Aleatoire(std::size_t n, unsigned graine) {
    std::mt19937 g(graine);
    std::vector<unsigned char> v(n);
    for (auto& c : v)
        c = static_cast<unsigned char>(g());
    return v;
}

TEST(Crc32, ValeursDeReference) {
    for (auto f : {&Crc32, &Crc32Portable}) {
        EXPECT_EQ(f(0, "123456789", 9), 0xCBF43926u);
        EXPECT_EQ(f(0, nullptr, 0), 0u);
        EXPECT_EQ(f(0x12345678u, nullptr, 100), 0u);
        EXPECT_EQ(f(0, "", 0), 0u);
        EXPECT_EQ(f(0xDEADBEEFu, "", 0), 0xDEADBEEFu);
    }
}

// Les deux voies, toutes longueurs et décalages, bit pour bit contre zlib.
TEST(Crc32, IdentiqueAZlibPourToutesLongueursEtAlignements) {
    const auto donnees = Aleatoire(4096 + 16, 1);
    for (std::size_t decalage = 0; decalage < 8; ++decalage) {
        for (std::size_t n = 0; n <= 4096; ++n) {
            const unsigned char* p = donnees.data() + decalage;
            const auto attendu = static_cast<std::uint32_t>(::crc32(0, p, static_cast<uInt>(n)));
            ASSERT_EQ(Crc32(0, p, n), attendu) << "n=" << n << " décalage=" << decalage;
            ASSERT_EQ(Crc32Portable(0, p, n), attendu) << "n=" << n << " décalage=" << decalage;
        }
    }
}

TEST(Crc32, ChainageEtGrandsTampons) {
    const auto donnees = Aleatoire((3u << 20) + 77, 2);
    const auto attendu =
        static_cast<std::uint32_t>(::crc32(0, donnees.data(), static_cast<uInt>(donnees.size())));
    EXPECT_EQ(Crc32(0, donnees.data(), donnees.size()), attendu);
    EXPECT_EQ(Crc32Portable(0, donnees.data(), donnees.size()), attendu);

    std::mt19937 g(3);
    for (int essai = 0; essai < 50; ++essai) {
        const std::size_t coupe = g() % donnees.size();
        const std::uint32_t debut = Crc32(0, donnees.data(), coupe);
        EXPECT_EQ(Crc32(debut, donnees.data() + coupe, donnees.size() - coupe), attendu);
        EXPECT_EQ(Crc32Portable(Crc32Portable(0, donnees.data(), coupe), donnees.data() + coupe,
                                donnees.size() - coupe),
                  attendu);
    }
}

} // namespace
} // namespace emporteur
