#include "download/FormaterTaille.h"

#include <algorithm>
#include <cstdio>

namespace emporteur {

void FormaterTaille(std::uint32_t octets, std::string& texteOctets, std::string& texteMega) {
    // Imprimé signé, comme l'a toujours affiché le programme.
    char tampon[32];
    std::snprintf(tampon, sizeof tampon, "%d", static_cast<std::int32_t>(octets));
    const std::string imprime = tampon;
    texteOctets = imprime;
    if (imprime.size() > 3) texteOctets.insert(texteOctets.size() - 3, ",");
    if (imprime.size() > 6) texteOctets.insert(imprime.size() - 6, ",");

    // Facteur en simple précision, produit en double : arrondis d'origine.
    const double mega = static_cast<double>(9.99999997e-07f) * static_cast<double>(octets);
    std::snprintf(tampon, sizeof tampon, "%3.2f", mega);
    texteMega = tampon;
    std::replace(texteMega.begin(), texteMega.end(), '.', ',');
}

} // namespace emporteur
