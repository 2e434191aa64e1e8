#pragma once
// Deux fichiers d'un même ensemble ne doivent jamais se disputer un nom du dossier
// de destination : même nom local, ou nom de l'un égal à un nom réservé de l'autre
// (un de ses segments "NOM.N", son assemblage ".NOM.assemblage", son verrou de
// repli ".NOM.verrou"). Sinon l'un
// écraserait l'autre, ou en effacerait le fichier comme un segment.

#include "commun/EnsembleFichiers.h"

#include <optional>
#include <string>
#include <utility>

namespace emporteur {

// Les noms locaux des deux premiers fichiers qui se confondent ; rien si aucun.
std::optional<std::pair<std::string, std::string>>
ChercherCollisionNoms(const EnsembleFichiers& ensemble);

// La ligne de journal qui refuse l'ensemble.
std::string MessageCollisionNoms(const std::string& premier, const std::string& second);

} // namespace emporteur
