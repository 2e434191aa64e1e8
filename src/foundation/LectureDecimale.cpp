#include "foundation/LectureDecimale.h"

#include <algorithm>
#include <limits>

namespace emporteur {

namespace {
constexpr std::uint64_t kPlafond = std::uint64_t{1} << 32;
constexpr std::uint64_t kMaxPositif = std::numeric_limits<std::int32_t>::max();

// Les blancs d'isspace dans la locale « C », sans dépendre de la locale.
bool EstBlanc(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
} // namespace

NombreDecimal LireDecimal(std::string_view texte) {
    NombreDecimal n;
    std::size_t i = 0;
    while (i < texte.size() && EstBlanc(texte[i]))
        ++i;
    const bool sansBlanc = i == 0;
    if (i < texte.size() && (texte[i] == '+' || texte[i] == '-')) n.Negatif = texte[i++] == '-';
    for (; i < texte.size() && texte[i] >= '0' && texte[i] <= '9'; ++i) {
        const auto chiffre = static_cast<std::uint32_t>(texte[i] - '0');
        n.Chiffres = true;
        n.Modulo32 = n.Modulo32 * 10u + chiffre;
        n.Absolue = std::min(kPlafond, n.Absolue * 10 + chiffre);
    }
    n.TexteEntier = sansBlanc && n.Chiffres && i == texte.size();
    return n;
}

std::int32_t NombreDecimal::Borne() const {
    if (Negatif)
        return Absolue > kMaxPositif ? std::numeric_limits<std::int32_t>::min()
                                     : -static_cast<std::int32_t>(Absolue);
    return static_cast<std::int32_t>(std::min(Absolue, kMaxPositif));
}

bool NombreDecimal::TientSur32Bits() const {
    return Absolue <= (Negatif ? kMaxPositif + 1 : kMaxPositif);
}

bool LireEntierStrict(std::string_view texte, std::int32_t& valeur) {
    const NombreDecimal n = LireDecimal(texte);
    if (!n.TexteEntier || !n.TientSur32Bits()) return false;
    valeur = n.Borne();
    return true;
}

} // namespace emporteur
