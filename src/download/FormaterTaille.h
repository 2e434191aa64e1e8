#pragma once
// Un nombre d'octets en deux textes : octets avec au plus deux virgules de
// milliers, mégaoctets (10^6 octets) avec deux décimales après une virgule.

#include <cstdint>
#include <string>

namespace emporteur {

// Octets imprimés signés : au-delà de 2 Gio, le texte d'un entier négatif.
void FormaterTaille(std::uint32_t octets, std::string& texteOctets, std::string& texteMega);

// Mêmes textes pour un compte de 64 bits, jamais négatif : FormaterTaille à
// l'identique jusqu'à 2 Gio, le nombre positif au-delà.
void FormaterTailleLongue(std::uint64_t octets, std::string& texteOctets, std::string& texteMega);

} // namespace emporteur
