#pragma once
// Ressource de version d'une image PE32 ou PE32+ : type 16, premier nom, première
// langue. Toute position lue dans le fichier est vérifiée avant usage.

#include "foundation/SourceOctets.h"

#include <cstdint>
#include <vector>

namespace emporteur {

// Un bloc VS_VERSIONINFO ne dépasse jamais 64 Kio (sa longueur tient sur 16 bits).
inline constexpr std::size_t kTailleMaxBlocVersion = 0xFFFF;

// Vrai et les octets bruts de la ressource (au plus kTailleMaxBlocVersion) dans `bloc` ;
// faux pour une image mal formée ou sans ressource de version.
bool ExtraireRessourceVersion(const SourceOctets& source, std::vector<std::uint8_t>& bloc);

} // namespace emporteur
