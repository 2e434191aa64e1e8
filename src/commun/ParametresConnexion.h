#pragma once
// Réglages du mandataire : serveur vide = accès direct (réglages du système).

#include <cstdint>
#include <string>

namespace emporteur {

struct ParametresConnexion {
    std::string Serveur;
    std::int32_t Port = 80;
};

} // namespace emporteur
