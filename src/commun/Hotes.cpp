#include "commun/Hotes.h"

#include <cstdlib>

namespace emporteur {

namespace {
std::string Variable(const char* nom, const char* defaut) {
    const char* valeur = std::getenv(nom);
    return (valeur && *valeur) ? valeur : defaut;
}

bool PorteSchema(const std::string& hote) {
    return hote.rfind("http://", 0) == 0 || hote.rfind("https://", 0) == 0;
}
} // namespace

std::string HoteServeur() {
    return Variable("EMPORTEUR_SERVEUR", EMPORTEUR_HOTE_SERVEUR);
}

std::string HoteSite() {
    return Variable("EMPORTEUR_SITE", EMPORTEUR_HOTE_SITE);
}

std::string AdresseObjet(const std::string& hote, const std::string& chemin) {
    std::string base = PorteSchema(hote) ? hote : "http://" + hote;
    if (!base.empty() && base.back() == '/') base.pop_back();
    return base + "/" + chemin;
}

std::string AdresseSite(const std::string& chemin) {
    return AdresseObjet(HoteSite(), chemin);
}

} // namespace emporteur
