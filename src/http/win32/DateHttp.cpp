#include "http/AttenteServeur.h"

#include "foundation/ConstantesWin32.h"
#include "foundation/win32/Utf16.h"

#include <wininet.h>

#include <algorithm>
#include <cctype>

namespace emporteur {

// InternetTimeToSystemTime accepte presque tout texte (les champs manquants restent à
// zéro) : une date sans jour, mois en lettres et heure n'en est pas une.
std::time_t LireDateHttp(const std::string& date) {
    const bool chiffres = std::count_if(date.begin(), date.end(), [](unsigned char c) {
                              return std::isdigit(c);
                          }) >= 7;
    if (!chiffres || date.find(':') == std::string::npos) return -1;
    SYSTEMTIME st{};
    if (!InternetTimeToSystemTimeW(VersUtf16(date).c_str(), &st, 0)) return -1;
    // L'ancienne forme n'écrit que deux chiffres d'année.
    if (st.wYear < 100) st.wYear = static_cast<WORD>(st.wYear + (st.wYear < 70 ? 2000 : 1900));
    if (st.wYear < 1970) return -1;
    FILETIME ft{};
    if (!SystemTimeToFileTime(&st, &ft)) return -1;
    // FILETIME : centaines de nanosecondes depuis 1601.
    const auto centaines = (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    constexpr std::uint64_t kEcart1601a1970 = 11644473600ULL;
    return static_cast<std::time_t>(centaines / 10000000ULL - kEcart1601a1970);
}

} // namespace emporteur
