#pragma once
// Où le transport prend les autorités de certification : le fichier imposé (option
// --cacert), sinon CURL_CA_BUNDLE, sinon SSL_CERT_FILE ; et le dossier SSL_CERT_DIR.
// Vides : les autorités du système (libcurl ne lit pas ces variables de lui-même).
// Les réseaux d'entreprise à autorité privée en dépendent. Sous Linux seulement : WinINet
// ne prend que les autorités du magasin du système (un fichier imposé y est refusé).

#include <string>

namespace emporteur {

struct AutoritesCertification {
    std::string Fichier;
    std::string Dossier;
};

AutoritesCertification LireAutoritesCertification(const std::string& fichierImpose);

} // namespace emporteur
