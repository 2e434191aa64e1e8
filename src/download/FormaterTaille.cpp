#include "download/FormaterTaille.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <limits>

namespace emporteur {

namespace {
// Une virgule avant les 3 derniers caractères, une autre avant les 6 derniers du
// texte imprimé : jamais plus de deux.
std::string Virgules(const std::string& imprime) {
    std::string texte = imprime;
    if (imprime.size() > 3) texte.insert(texte.size() - 3, ",");
    if (imprime.size() > 6) texte.insert(imprime.size() - 6, ",");
    return texte;
}

// Facteur en simple précision, produit en double : arrondis d'origine.
std::string Mega(double octets) {
    char tampon[48];
    std::snprintf(tampon, sizeof tampon, "%3.2f", static_cast<double>(9.99999997e-07f) * octets);
    std::string texte = tampon;
    std::replace(texte.begin(), texte.end(), '.', ',');
    return texte;
}
} // namespace

void FormaterTaille(std::uint32_t octets, std::string& texteOctets, std::string& texteMega) {
    // Imprimé signé, comme l'a toujours affiché le programme.
    char tampon[32];
    std::snprintf(tampon, sizeof tampon, "%d", static_cast<std::int32_t>(octets));
    texteOctets = Virgules(tampon);
    texteMega = Mega(static_cast<double>(octets));
}

void FormaterTailleLongue(std::uint64_t octets, std::string& texteOctets, std::string& texteMega) {
    if (octets <= static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
        FormaterTaille(static_cast<std::uint32_t>(octets), texteOctets, texteMega);
        return;
    }
    char tampon[32];
    std::snprintf(tampon, sizeof tampon, "%" PRIu64, octets);
    texteOctets = Virgules(tampon);
    texteMega = Mega(static_cast<double>(octets));
}

} // namespace emporteur
