#pragma once
// Les noms cachés réservés à un fichier dans le dossier de destination (son
// assemblage, son verrou de repli) : "." + nom local + suffixe, abrégé et complété
// d'une empreinte quand il passerait la limite de 255 octets d'un nom.

#include <string>
#include <string_view>

namespace emporteur {

inline constexpr std::string_view kSuffixeAssemblage = ".assemblage";
inline constexpr std::string_view kSuffixeVerrou = ".verrou";
inline constexpr std::size_t kLongueurNomMax = 255;

// "~" et 16 chiffres hexadécimaux (FNV-1a 64 bits) de `texte`.
std::string Empreinte(const std::string& texte);

// Le nom caché de `nomLocal` pour ce suffixe ; la seule règle de ces noms.
std::string NomCache(const std::string& nomLocal, std::string_view suffixe);

} // namespace emporteur
