#pragma once
// Description française d'une erreur de WinINet, les mêmes phrases que sous Linux
// pour les mêmes situations ; le texte du système pour les codes rares.

#include <cstdint>
#include <string>

namespace emporteur {

// `parMandataire` : un nom introuvable est alors celui du mandataire (WinINet ne
// résout que lui).
std::string DecrireErreurWinInet(std::uint32_t code, bool parMandataire);

// Certificat du serveur refusé : un nouvel essai n'y changera rien.
bool EstErreurCertificatWinInet(std::uint32_t code);

} // namespace emporteur
