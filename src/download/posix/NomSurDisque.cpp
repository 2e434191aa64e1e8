#include "download/NomSurDisque.h"

namespace emporteur {

bool NomAccepteParLeSysteme(const std::string&) {
    return true;
}

} // namespace emporteur
