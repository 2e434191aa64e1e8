#pragma once
// Lecture de l'en-tête Retry-After : un nombre de secondes ou une date HTTP.

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

namespace emporteur {

// Secondes demandées par le serveur à partir de `maintenant` (0 pour une date
// passée, plafonné à un jour) ; -1 si la valeur est absente ou illisible.
std::int32_t LireAttenteServeur(std::string_view valeur, std::time_t maintenant);

// Une date HTTP ("Sun, 06 Nov 1994 08:49:37 GMT" et les formes anciennes) en temps
// Unix, par la plateforme ; -1 si elle est illisible.
std::time_t LireDateHttp(const std::string& date);

} // namespace emporteur
