#include "foundation/CheminNatif.h"

#include "foundation/win32/Utf16.h"

namespace emporteur {

std::filesystem::path CheminNatif(std::string_view utf8) { return VersUtf16(utf8); }
std::string CheminUtf8(const std::filesystem::path& chemin) { return DepuisUtf16(chemin.native()); }

} // namespace emporteur
