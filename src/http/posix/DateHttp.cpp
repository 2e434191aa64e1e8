#include "http/AttenteServeur.h"

#include <curl/curl.h>

namespace emporteur {

std::time_t LireDateHttp(const std::string& date) {
    return curl_getdate(date.c_str(), nullptr);
}

} // namespace emporteur
