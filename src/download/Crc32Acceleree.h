#pragma once
// Voie interne de Crc32 : registre non complémenté en entrée comme en sortie.

#include <cstddef>
#include <cstdint>

namespace emporteur::detail {

// Par tables, tout processeur.
std::uint32_t Crc32Tables(std::uint32_t registre, const unsigned char* p, std::size_t n);
// Multiplication sans retenue si le processeur l'offre, sinon par tables.
std::uint32_t Crc32Rapide(std::uint32_t registre, const unsigned char* p, std::size_t n);

} // namespace emporteur::detail
