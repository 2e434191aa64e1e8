#include "foundation/SourceOctets.h"

#include <cstring>

namespace emporteur {

bool SourceMemoire::Lire(std::uint64_t position, std::size_t taille, std::uint8_t* dest) const {
    if (!Contient(position, taille)) return false;
    if (taille > 0) std::memcpy(dest, octets_.data() + position, taille);
    return true;
}

} // namespace emporteur
