#pragma once
// Description française d'une erreur de libcurl, pour les messages du transport ;
// le texte anglais de libcurl pour les codes rares.

#include <curl/curl.h>
#include <string>

namespace emporteur {

std::string DecrireErreurCurl(CURLcode code);

// Certificat du serveur refusé ou autorités illisibles : un nouvel essai n'y changera rien.
bool EstErreurCertificat(CURLcode code);

} // namespace emporteur
