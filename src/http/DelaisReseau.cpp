#include "http/DelaisReseau.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

namespace emporteur {

namespace {
// Une valeur absente, illisible ou hors de 1..maximum garde le défaut : jamais
// d'attente infinie.
long LireNombre(const char* nom, long defaut, long maximum = 3600) {
    const char* valeur = std::getenv(nom);
    if (!valeur) return defaut;
    long n = 0;
    const char* fin = valeur + std::strlen(valeur);
    auto [p, e] = std::from_chars(valeur, fin, n);
    if (e != std::errc() || p != fin || n < 1 || n > maximum) return defaut;
    return n;
}
} // namespace

DelaisReseau LireDelaisReseau() {
    DelaisReseau d;
    d.Connexion = LireNombre("EMPORTEUR_DELAI_CONNEXION", d.Connexion);
    d.Blocage = LireNombre("EMPORTEUR_DELAI_BLOCAGE", d.Blocage);
    d.Lenteur = LireNombre("EMPORTEUR_DELAI_LENTEUR", d.Lenteur);
    d.VitesseMinimale =
        LireNombre("EMPORTEUR_VITESSE_MINIMALE", d.VitesseMinimale, 1024L * 1024 * 1024);
    return d;
}

} // namespace emporteur
