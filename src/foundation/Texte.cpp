#include "foundation/Texte.h"

#include <array>
#include <cstdint>

namespace emporteur {

namespace {
// Points de code des octets 0x80 à 0x9F.
constexpr std::array<char32_t, 32> kPlage80{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AjouterUtf8(std::string& sortie, char32_t c) {
    if (c < 0x80) {
        sortie += static_cast<char>(c);
    } else if (c < 0x800) {
        sortie += static_cast<char>(0xC0 | (c >> 6));
        sortie += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        sortie += static_cast<char>(0xE0 | (c >> 12));
        sortie += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        sortie += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        sortie += static_cast<char>(0xF0 | (c >> 18));
        sortie += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        sortie += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        sortie += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Décode un caractère à `i` ; rend sa longueur, 0 s'il est mal formé.
std::size_t LireCaractere(std::string_view s, std::size_t i, char32_t& c) {
    const auto o = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b = o(i);
    std::size_t n;
    char32_t minimum;
    if (b < 0x80) {
        c = b;
        return 1;
    } else if ((b & 0xE0) == 0xC0) {
        n = 2, c = b & 0x1F, minimum = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
        n = 3, c = b & 0x0F, minimum = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
        n = 4, c = b & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + n > s.size()) return 0;
    for (std::size_t k = 1; k < n; ++k) {
        if ((o(i + k) & 0xC0) != 0x80) return 0;
        c = (c << 6) | (o(i + k) & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return n;
}

int VersCp1252(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    for (std::size_t k = 0; k < kPlage80.size(); ++k)
        if (kPlage80[k] == c) return static_cast<int>(0x80 + k);
    return -1;
}
} // namespace

Texte Texte::depuisCp1252(std::string_view octets) {
    std::string sortie;
    sortie.reserve(octets.size());
    for (const char ch : octets) {
        const auto b = static_cast<unsigned char>(ch);
        AjouterUtf8(sortie, (b >= 0x80 && b < 0xA0) ? kPlage80[b - 0x80] : char32_t{b});
    }
    return Texte(std::move(sortie));
}

std::string Texte::versCp1252() const {
    std::string sortie;
    sortie.reserve(utf8_.size());
    for (std::size_t i = 0; i < utf8_.size();) {
        char32_t c = 0;
        const std::size_t n = LireCaractere(utf8_, i, c);
        const int octet = n ? VersCp1252(c) : -1;
        sortie += octet < 0 ? '?' : static_cast<char>(octet);
        i += n ? n : 1;
    }
    return sortie;
}

std::size_t Texte::longueur() const {
    std::size_t n = 0;
    for (std::size_t i = 0; i < utf8_.size(); ++n) {
        char32_t c = 0;
        const std::size_t l = LireCaractere(utf8_, i, c);
        i += l ? l : 1;
    }
    return n;
}

bool EstUtf8Valide(std::string_view octets) {
    for (std::size_t i = 0; i < octets.size();) {
        char32_t c = 0;
        const std::size_t n = LireCaractere(octets, i, c);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::string DecoderTexteServeur(std::string_view octets) {
    if (EstUtf8Valide(octets)) return std::string(octets);
    return Texte::depuisCp1252(octets).utf8();
}

std::string CouperUtf8(std::string_view utf8, std::size_t maxOctets) {
    if (utf8.size() <= maxOctets) return std::string(utf8);
    std::size_t fin = maxOctets;
    // Recule jusqu'au début d'un caractère.
    while (fin > 0 && (static_cast<unsigned char>(utf8[fin]) & 0xC0) == 0x80)
        --fin;
    return std::string(utf8.substr(0, fin));
}

} // namespace emporteur
