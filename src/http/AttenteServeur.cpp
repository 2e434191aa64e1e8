#include "http/AttenteServeur.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace emporteur {

namespace {
constexpr std::int64_t kUnJour = 24 * 3600;
}

std::int32_t LireAttenteServeur(std::string_view valeur, std::time_t maintenant) {
    while (!valeur.empty() && std::isspace(static_cast<unsigned char>(valeur.front())))
        valeur.remove_prefix(1);
    while (!valeur.empty() && std::isspace(static_cast<unsigned char>(valeur.back())))
        valeur.remove_suffix(1);
    if (valeur.empty()) return -1;
    if (std::all_of(valeur.begin(), valeur.end(),
                    [](unsigned char c) { return std::isdigit(c); })) {
        std::int64_t n = 0;
        for (const char c : valeur) {
            n = n * 10 + (c - '0');
            if (n > kUnJour) return static_cast<std::int32_t>(kUnJour);
        }
        return static_cast<std::int32_t>(n);
    }
    const std::time_t quand = LireDateHttp(std::string(valeur));
    if (quand < 0) return -1;
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(static_cast<std::int64_t>(quand) - maintenant, 0, kUnJour));
}

} // namespace emporteur
