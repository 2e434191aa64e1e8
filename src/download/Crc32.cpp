#include "download/Crc32.h"

#include "download/Crc32Acceleree.h"

#include <array>
#include <bit>
#include <cstring>

namespace emporteur {

namespace {
constexpr std::uint32_t kPolynome = 0xEDB88320u;

// Tables du découpage par 16 : la table k donne l'effet d'un octet suivi de k zéros.
constexpr auto kTables = [] {
    std::array<std::array<std::uint32_t, 256>, 16> t{};
    for (std::uint32_t octet = 0; octet < 256; ++octet) {
        std::uint32_t c = octet;
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1u) ? (c >> 1) ^ kPolynome : c >> 1;
        t[0][octet] = c;
    }
    for (std::size_t k = 1; k < 16; ++k)
        for (std::size_t octet = 0; octet < 256; ++octet)
            t[k][octet] = (t[k - 1][octet] >> 8) ^ t[0][t[k - 1][octet] & 0xFFu];
    return t;
}();

std::uint32_t Lire32(const unsigned char* p) {
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

std::uint32_t ParOctet(std::uint32_t registre, const unsigned char* p, std::size_t n) {
    while (n--)
        registre = (registre >> 8) ^ kTables[0][(registre ^ *p++) & 0xFFu];
    return registre;
}

// Seize octets par tour, quatre mots de 32 bits lus en petit-boutiste.
std::uint32_t ParSeize(std::uint32_t registre, const unsigned char* p, std::size_t n) {
    if constexpr (std::endian::native != std::endian::little) return ParOctet(registre, p, n);
    const auto& t = kTables;
    for (; n >= 16; n -= 16, p += 16) {
        const std::uint32_t a = Lire32(p) ^ registre;
        const std::uint32_t b = Lire32(p + 4);
        const std::uint32_t c = Lire32(p + 8);
        const std::uint32_t d = Lire32(p + 12);
        registre = t[15][a & 0xFF] ^ t[14][(a >> 8) & 0xFF] ^ t[13][(a >> 16) & 0xFF] ^
                   t[12][a >> 24] ^ t[11][b & 0xFF] ^ t[10][(b >> 8) & 0xFF] ^
                   t[9][(b >> 16) & 0xFF] ^ t[8][b >> 24] ^ t[7][c & 0xFF] ^ t[6][(c >> 8) & 0xFF] ^
                   t[5][(c >> 16) & 0xFF] ^ t[4][c >> 24] ^ t[3][d & 0xFF] ^ t[2][(d >> 8) & 0xFF] ^
                   t[1][(d >> 16) & 0xFF] ^ t[0][d >> 24];
    }
    return ParOctet(registre, p, n);
}
} // namespace

namespace detail {
std::uint32_t Crc32Tables(std::uint32_t registre, const unsigned char* p, std::size_t n) {
    return ParSeize(registre, p, n);
}
} // namespace detail

std::uint32_t Crc32Portable(std::uint32_t precedent, const void* tampon, std::size_t longueur) {
    if (tampon == nullptr) return 0;
    return ~ParSeize(~precedent, static_cast<const unsigned char*>(tampon), longueur);
}

std::uint32_t Crc32(std::uint32_t precedent, const void* tampon, std::size_t longueur) {
    if (tampon == nullptr) return 0;
    const auto* p = static_cast<const unsigned char*>(tampon);
    return ~detail::Crc32Rapide(~precedent, p, longueur);
}

} // namespace emporteur
