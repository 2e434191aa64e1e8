#include "http/AutoritesCertification.h"

#include <cstdlib>
#include <initializer_list>

namespace emporteur {

namespace {
// Première variable présente et non vide.
std::string PremiereVariable(std::initializer_list<const char*> noms) {
    for (const char* nom : noms)
        if (const char* valeur = std::getenv(nom); valeur && *valeur) return valeur;
    return {};
}
} // namespace

AutoritesCertification LireAutoritesCertification(const std::string& fichierImpose) {
    AutoritesCertification a;
    a.Fichier = fichierImpose.empty() ? PremiereVariable({"CURL_CA_BUNDLE", "SSL_CERT_FILE"})
                                      : fichierImpose;
    a.Dossier = PremiereVariable({"SSL_CERT_DIR"});
    return a;
}

} // namespace emporteur
