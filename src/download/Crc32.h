#pragma once
// CRC-32 ISO 3309 / V.42 (polynôme réfléchi 0xEDB88320) : 0 pour un tampon nul,
// le résultat d'un appel passé en `precedent` prolonge le calcul.

#include <cstddef>
#include <cstdint>

namespace emporteur {

// Choisit à l'exécution la multiplication sans retenue quand le processeur l'offre.
std::uint32_t Crc32(std::uint32_t precedent, const void* tampon, std::size_t longueur);

// Même résultat par tables seules (découpage par 16 octets) : repli et référence.
std::uint32_t Crc32Portable(std::uint32_t precedent, const void* tampon, std::size_t longueur);

} // namespace emporteur
