#pragma once
// Chemins UTF-8 du noyau ↔ std::filesystem::path. Jamais path(std::string) : sous
// Windows (mingw) il lit la page de code ANSI et abîme tout caractère non ASCII ;
// ici le passage se fait en UTF-16. Ailleurs les octets passent tels quels.

#include <filesystem>
#include <string>
#include <string_view>

namespace emporteur {

std::filesystem::path CheminNatif(std::string_view utf8);
std::string CheminUtf8(const std::filesystem::path& chemin);

} // namespace emporteur
