#pragma once
// Un nombre d'octets en deux textes : octets avec au plus deux virgules de
// milliers, mégaoctets (10^6 octets) avec deux décimales après une virgule.

#include <cstdint>
#include <string>

namespace emporteur {

void FormaterTaille(std::uint32_t octets, std::string& texteOctets, std::string& texteMega);

} // namespace emporteur
