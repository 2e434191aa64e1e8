#include "messages/HeureLocale.h"

namespace emporteur {

std::tm HeureLocale(std::time_t instant) {
    std::tm local{};
    ::localtime_r(&instant, &local);
    return local;
}

} // namespace emporteur
