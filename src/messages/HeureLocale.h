#pragma once
// Un instant en heure locale, sans l'état partagé de std::localtime.

#include <ctime>

namespace emporteur {

std::tm HeureLocale(std::time_t instant);

} // namespace emporteur
