#pragma once
// Les clés publiques qui signent les textes du catalogue, fixées à la configuration
// (EMPORTEUR_CLES_PUBLIQUES) et compilées dans le programme ; aucune par défaut.

#include <string>
#include <vector>

namespace emporteur {

// Les clés PEM, dans l'ordre de la configuration.
const std::vector<std::string>& ClesPubliquesIntegrees();

// "AAAA-MM-JJ" : jour de la construction. Une horloge qui indique un jour antérieur
// est manifestement fausse.
const char* DateConstruction();

// Ce que --version en dit : "signatures : non vérifiées", ou le nombre de clés.
std::string EtatSignatures();

} // namespace emporteur
