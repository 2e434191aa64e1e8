#include "messages/HeureLocale.h"

namespace emporteur {

// localtime_s de Windows : arguments dans l'ordre inverse de localtime_r.
std::tm HeureLocale(std::time_t instant) {
    std::tm local{};
    ::localtime_s(&local, &instant);
    return local;
}

} // namespace emporteur
