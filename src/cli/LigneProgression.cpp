#include "cli/LigneProgression.h"

#include "download/FormaterTaille.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace emporteur::cli {

namespace {
std::string Octets(std::uint64_t n) {
    std::string octets, mega;
    FormaterTailleLongue(n, octets, mega);
    return octets;
}

std::string Mega(std::uint64_t n) {
    std::string octets, mega;
    FormaterTailleLongue(n, octets, mega);
    return mega;
}

std::string Debit(const std::optional<double>& debit) {
    if (!debit) return "-- Mo/s";
    char tampon[48];
    std::snprintf(tampon, sizeof tampon, "%.2f Mo/s", *debit / 1e6);
    std::string texte = tampon;
    for (auto& c : texte)
        if (c == '.') c = ',';
    return texte;
}

// « 1 min 05 s » (longue) ou « 1:05 » (courte) ; « 1 h 02 min » au-delà d'une heure.
std::string Duree(const std::optional<double>& secondes, bool longue) {
    if (!secondes || !std::isfinite(*secondes) || *secondes < 0)
        return longue ? "-- min -- s" : "--:--";
    const auto s = static_cast<long long>(std::llround(std::min(*secondes, 359999.0)));
    char tampon[48];
    if (s >= 3600)
        std::snprintf(tampon, sizeof tampon, longue ? "%lld h %02lld min" : "%lld:%02lld:%02lld",
                      s / 3600, (s / 60) % 60, s % 60);
    else
        std::snprintf(tampon, sizeof tampon, longue ? "%lld min %02lld s" : "%lld:%02lld", s / 60,
                      s % 60);
    return tampon;
}

std::string Pourcentage(std::int32_t p) {
    char tampon[16];
    std::snprintf(tampon, sizeof tampon, "%3d %%", p);
    return tampon;
}

// Les formes, de la plus complète à la plus courte ; l'ordre de raccourcissement est
// celui de cette liste : octets en Mo, durées courtes, sans « écoulé », sans le temps
// écoulé, sans le débit, sans les octets.
std::vector<std::string> Formes(const EtatLigne& e) {
    const std::string p = Pourcentage(e.pourcentage), d = Debit(e.debit);
    const std::string mo = Mega(e.faits) + "/" + Mega(e.total) + " Mo";
    const std::string resteCourt = "reste " + Duree(e.restant, false);
    return {
        "Total : " + p + "  " + Octets(e.faits) + " / " + Octets(e.total) + " octets  " + d +
            "  écoulé " + Duree(e.ecoule, true) + "  reste " + Duree(e.restant, true),
        p + "  " + mo + "  " + d + "  écoulé " + Duree(e.ecoule, true) + "  reste " +
            Duree(e.restant, true),
        p + "  " + mo + "  " + d + "  écoulé " + Duree(e.ecoule, false) + "  " + resteCourt,
        p + "  " + mo + "  " + d + "  " + Duree(e.ecoule, false) + "  " + resteCourt,
        p + "  " + mo + "  " + d + "  " + resteCourt,
        p + "  " + d + "  " + resteCourt,
        p + "  " + resteCourt,
    };
}

// Les `n` premières colonnes, sans couper un caractère UTF-8.
std::string Couper(const std::string& texte, std::size_t n) {
    std::size_t colonnes = 0, i = 0;
    for (; i < texte.size(); ++i) {
        if ((static_cast<unsigned char>(texte[i]) & 0xC0) == 0x80) continue;
        if (colonnes == n) break;
        ++colonnes;
    }
    return texte.substr(0, i);
}
} // namespace

std::size_t LigneProgression::Colonnes(const std::string& texte) {
    std::size_t n = 0;
    for (const unsigned char c : texte)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

std::string LigneProgression::Composer(const EtatLigne& etat) const {
    const std::size_t place = largeur_ > 1 ? static_cast<std::size_t>(largeur_ - 1) : 0;
    const auto formes = Formes(etat);
    for (const auto& f : formes)
        if (Colonnes(f) <= place) return f;
    return Couper(formes.back(), place);
}

std::string LigneProgression::Complete(const EtatLigne& etat) {
    return Formes(etat).front();
}

} // namespace emporteur::cli
