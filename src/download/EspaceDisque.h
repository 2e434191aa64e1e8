#pragma once
// L'espace libre que l'utilisateur peut prendre sur le volume d'un dossier (quotas
// compris), en octets sur 64 bits.

#include <cstdint>
#include <string>

namespace emporteur {

// Faux, et le code du système dans `erreur`, si la requête échoue.
bool EspaceDisponible(const std::string& dossier, std::uint64_t& libre, int& erreur);

} // namespace emporteur
