#include "catalogue/SyntaxeCatalogue.h"

#include "foundation/LectureDecimale.h"
#include "foundation/Texte.h"

#include <algorithm>

namespace emporteur {

std::string ExtraireValeur(std::string_view ligne, std::string_view cle, bool jusquAuBout) {
    const auto position = ligne.find(cle);
    if (position == std::string_view::npos) return {};
    const std::size_t debut = position + cle.size() + 1;
    if (debut > ligne.size()) return {};
    const auto fin = ligne.find('"', debut);
    if (fin == std::string_view::npos)
        return jusquAuBout ? std::string(ligne.substr(debut)) : std::string();
    return std::string(ligne.substr(debut, fin - debut));
}

std::uint32_t LireNombre(std::string_view texte) {
    return LireDecimal(texte).Modulo();
}

std::string_view ProchainElement(std::string_view& reste) {
    const auto blanc = reste.find(' ');
    const std::string_view element = reste.substr(0, blanc);
    reste = blanc == std::string_view::npos ? std::string_view() : reste.substr(blanc + 1);
    return element;
}

std::string SeparerPremiereLigne(std::string& texte) {
    const auto fin = texte.find('\n');
    if (fin == std::string::npos) return {};
    std::string premiere = texte.substr(0, fin + 1);
    texte.erase(0, fin + 1);
    return premiere;
}

void RetirerRetoursChariot(std::string& texte) {
    texte.erase(std::remove(texte.begin(), texte.end(), '\r'), texte.end());
}

std::string NormaliserTexteServeur(std::string brut) {
    if (const auto nul = brut.find('\0'); nul != std::string::npos) brut.resize(nul);
    RetirerRetoursChariot(brut);
    return DecoderTexteServeur(brut);
}

} // namespace emporteur
