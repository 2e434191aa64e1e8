// Pliage du CRC-32 par multiplication sans retenue (PCLMULQDQ, VPCLMULQDQ) :
// méthode d'Intel « Fast CRC Computation for Generic Polynomials ». Chaque
// fonction porte ses propres attributs de cible : aucun drapeau -m global, le
// choix se fait à l'exécution.
#include "download/Crc32Acceleree.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define EMPORTEUR_CRC_X86 1
#endif

namespace emporteur::detail {

#ifdef EMPORTEUR_CRC_X86
namespace {

// x^n mod P dans le domaine normal (P = 0x104C11DB7).
constexpr std::uint64_t PuissanceModP(unsigned n) {
    std::uint64_t r = 1;
    for (unsigned i = 0; i < n; ++i) {
        r <<= 1;
        if (r & (1ull << 32)) r ^= 0x104C11DB7ull;
    }
    return r;
}

constexpr std::uint64_t Refleter32(std::uint64_t v) {
    std::uint64_t r = 0;
    for (int i = 0; i < 32; ++i)
        if (v & (1ull << i)) r |= 1ull << (31 - i);
    return r;
}

// Multiplicateur d'un pliage sur `distance` bits, dans le domaine réfléchi.
constexpr std::uint64_t Constante(unsigned exposant) {
    return Refleter32(PuissanceModP(exposant)) << 1;
}

struct Pliage {
    std::uint64_t bas, haut;
};
constexpr Pliage PliageSur(unsigned distance) {
    return {Constante(distance + 32), Constante(distance - 32)};
}

constexpr Pliage k128 = PliageSur(128);
constexpr Pliage k512 = PliageSur(512);
constexpr Pliage k1024 = PliageSur(1024);
constexpr std::uint64_t k64 = Constante(64);
constexpr std::uint64_t kPolyReflechi = 0x1DB710641ull;
constexpr std::uint64_t kMu = 0x1F7011641ull;
// Valeurs publiées par Intel : garde-fou du calcul des constantes.
static_assert(k512.bas == 0x154442BD4ull && k512.haut == 0x1C6E41596ull);
static_assert(k128.bas == 0x1751997D0ull && k128.haut == 0x0CCAA009Eull);
static_assert(k64 == 0x163CD6124ull);

#define CIBLE_PCLMUL __attribute__((target("pclmul,sse4.1")))
#define CIBLE_VPCLMUL __attribute__((target("vpclmulqdq,avx2,pclmul,sse4.1")))

CIBLE_PCLMUL inline __m128i Charger(Pliage k) {
    return _mm_set_epi64x(static_cast<long long>(k.haut), static_cast<long long>(k.bas));
}

CIBLE_PCLMUL inline __m128i Plier(__m128i x, __m128i k) {
    return _mm_xor_si128(_mm_clmulepi64_si128(x, k, 0x00), _mm_clmulepi64_si128(x, k, 0x11));
}

CIBLE_PCLMUL inline __m128i Lire(const unsigned char* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// Huit blocs de 16 octets consécutifs → un seul, puis les blocs de 16 restants,
// puis réduction de Barrett à 32 bits.
CIBLE_PCLMUL std::uint32_t Reduire(__m128i (&x)[8], const unsigned char* p, std::size_t n) {
    const __m128i k4 = Charger(k512);
    for (int i = 0; i < 4; ++i)
        x[i + 4] = _mm_xor_si128(x[i + 4], Plier(x[i], k4));
    const __m128i k1 = Charger(k128);
    __m128i v = x[4];
    for (int i = 5; i < 8; ++i)
        v = _mm_xor_si128(Plier(v, k1), x[i]);
    for (; n >= 16; n -= 16, p += 16)
        v = _mm_xor_si128(Plier(v, k1), Lire(p));

    const __m128i masque = _mm_setr_epi32(~0, 0, ~0, 0);
    v = _mm_xor_si128(_mm_srli_si128(v, 8), _mm_clmulepi64_si128(v, k1, 0x10));
    const __m128i c64 = _mm_set_epi64x(0, static_cast<long long>(k64));
    v = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(v, masque), c64, 0x00),
                      _mm_srli_si128(v, 4));
    const __m128i poly =
        _mm_set_epi64x(static_cast<long long>(kMu), static_cast<long long>(kPolyReflechi));
    __m128i t = _mm_clmulepi64_si128(_mm_and_si128(v, masque), poly, 0x10);
    t = _mm_clmulepi64_si128(_mm_and_si128(t, masque), poly, 0x00);
    return static_cast<std::uint32_t>(_mm_extract_epi32(_mm_xor_si128(v, t), 1));
}

// n ≥ 128 et multiple de 16 : huit accumulateurs de 128 bits pliés sur 1024 bits.
CIBLE_PCLMUL std::uint32_t Pclmul(std::uint32_t registre, const unsigned char* p, std::size_t n) {
    __m128i x[8];
    for (int i = 0; i < 8; ++i)
        x[i] = Lire(p + 16 * i);
    x[0] = _mm_xor_si128(x[0], _mm_cvtsi32_si128(static_cast<int>(registre)));
    const __m128i k = Charger(k1024);
    for (p += 128, n -= 128; n >= 128; p += 128, n -= 128)
        for (int i = 0; i < 8; ++i)
            x[i] = _mm_xor_si128(Plier(x[i], k), Lire(p + 16 * i));
    return Reduire(x, p, n);
}

CIBLE_VPCLMUL inline __m256i Plier256(__m256i x, __m256i k) {
    return _mm256_xor_si256(_mm256_clmulepi64_epi128(x, k, 0x00),
                            _mm256_clmulepi64_epi128(x, k, 0x11));
}

// n ≥ 256 et multiple de 16 : quatre accumulateurs de 256 bits pliés sur 1024 bits.
CIBLE_VPCLMUL std::uint32_t Vpclmul(std::uint32_t registre, const unsigned char* p, std::size_t n) {
    __m256i y[4];
    for (int i = 0; i < 4; ++i)
        y[i] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32 * i));
    y[0] = _mm256_xor_si256(y[0],
                            _mm256_zextsi128_si256(_mm_cvtsi32_si128(static_cast<int>(registre))));
    const __m256i k = _mm256_broadcastsi128_si256(Charger(k1024));
    for (p += 128, n -= 128; n >= 128; p += 128, n -= 128)
        for (int i = 0; i < 4; ++i)
            y[i] =
                _mm256_xor_si256(Plier256(y[i], k),
                                 _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32 * i)));
    __m128i x[8];
    for (int i = 0; i < 4; ++i) {
        x[2 * i] = _mm256_castsi256_si128(y[i]);
        x[2 * i + 1] = _mm256_extracti128_si256(y[i], 1);
    }
    return Reduire(x, p, n);
}

enum class Voie { Tables, Pclmul, Vpclmul };

Voie DetecterVoie() {
    __builtin_cpu_init();
    if (!__builtin_cpu_supports("pclmul") || !__builtin_cpu_supports("sse4.1")) return Voie::Tables;
    if (__builtin_cpu_supports("vpclmulqdq") && __builtin_cpu_supports("avx2"))
        return Voie::Vpclmul;
    return Voie::Pclmul;
}

} // namespace

std::uint32_t Crc32Rapide(std::uint32_t registre, const unsigned char* p, std::size_t n) {
    static const Voie voie = DetecterVoie();
    const std::size_t bloc = n & ~std::size_t{15};
    if (voie == Voie::Vpclmul && n >= 256)
        registre = Vpclmul(registre, p, bloc);
    else if (voie != Voie::Tables && n >= 128)
        registre = Pclmul(registre, p, bloc);
    else
        return Crc32Tables(registre, p, n);
    return Crc32Tables(registre, p + bloc, n - bloc);
}

#else

std::uint32_t Crc32Rapide(std::uint32_t registre, const unsigned char* p, std::size_t n) {
    return Crc32Tables(registre, p, n);
}

#endif

} // namespace emporteur::detail
