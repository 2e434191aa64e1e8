#pragma once
// Description française d'une erreur de libcurl, pour les messages du transport ;
// le texte anglais de libcurl pour les codes rares.

#include <curl/curl.h>
#include <string>

namespace emporteur {

std::string DecrireErreurCurl(CURLcode code);

} // namespace emporteur
