#pragma once
// Lecture d'une valeur d'un profil INI : une implémentation par plateforme (le profil
// de Windows dans win32/, inih dans posix/). Sections et clés sans casse ; textes UTF-8.

#include <string>

namespace emporteur::profil {

// La valeur, sans blancs autour ni guillemets englobants ; si la clé, la section ou le
// fichier manque : le défaut sans blancs finaux.
std::string LireValeur(const std::string& fichier, const std::string& section,
                       const std::string& cle, const std::string& defaut);

// Le texte sans ses espaces et tabulations finaux (commun aux plateformes).
std::string SansBlancsFinaux(std::string texte);

} // namespace emporteur::profil
