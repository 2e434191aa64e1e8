#include "foundation/CheminNatif.h"

namespace emporteur {

std::filesystem::path CheminNatif(std::string_view utf8) { return std::string(utf8); }
std::string CheminUtf8(const std::filesystem::path& chemin) { return chemin.native(); }

} // namespace emporteur
