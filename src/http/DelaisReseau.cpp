#include "http/DelaisReseau.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

namespace emporteur {

namespace {
// Une valeur absente, illisible ou hors de 1..3600 garde le défaut : jamais d'attente infinie.
long LireSecondes(const char* nom, long defaut) {
    const char* valeur = std::getenv(nom);
    if (!valeur) return defaut;
    long n = 0;
    const char* fin = valeur + std::strlen(valeur);
    auto [p, e] = std::from_chars(valeur, fin, n);
    if (e != std::errc() || p != fin || n < 1 || n > 3600) return defaut;
    return n;
}
} // namespace

DelaisReseau LireDelaisReseau() {
    DelaisReseau d;
    d.Connexion = LireSecondes("EMPORTEUR_DELAI_CONNEXION", d.Connexion);
    d.Blocage = LireSecondes("EMPORTEUR_DELAI_BLOCAGE", d.Blocage);
    return d;
}

} // namespace emporteur
