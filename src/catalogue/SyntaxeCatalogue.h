#pragma once
// Syntaxe commune des trois textes du catalogue : lignes, clés entre
// guillemets, nombres et listes.

#include <cstdint>
#include <string>
#include <string_view>

namespace emporteur {

// Valeur de `cle` (signe = compris) : le caractère qui suit le signe = est sauté
// quel qu'il soit, la valeur finit avant le guillemet suivant. Sans guillemet
// fermant : vide, ou le reste de la ligne si `jusquAuBout` (texte boutique).
std::string ExtraireValeur(std::string_view ligne, std::string_view cle, bool jusquAuBout = false);

// Blancs de tête sautés, signe facultatif, chiffres décimaux modulo 2^32 ;
// "4294967295" et "-1" donnent les mêmes 32 bits, aucun chiffre donne 0.
std::uint32_t LireNombre(std::string_view texte);

// Premier élément d'une liste à blancs simples ; `reste` reçoit ce qui suit ce blanc.
std::string_view ProchainElement(std::string_view& reste);

// Première ligne (jusqu'au premier saut de ligne compris) retirée de `texte` ;
// un texte sans saut de ligne a une première ligne vide et reste entier.
std::string SeparerPremiereLigne(std::string& texte);

// Parcourt les lignes utiles (ni vides ni commentaires) ; `f` rend faux pour arrêter.
template <typename F> void PourChaqueLigne(std::string_view texte, F&& f) {
    while (!texte.empty()) {
        const auto fin = texte.find('\n');
        const std::string_view ligne = texte.substr(0, fin);
        texte = fin == std::string_view::npos ? std::string_view() : texte.substr(fin + 1);
        if (ligne.empty() || ligne.front() == '#') continue;
        if (!f(ligne)) return;
    }
}

// Retire tous les retours chariot (octet 13).
void RetirerRetoursChariot(std::string& texte);

// Un texte du catalogue tel qu'il arrive en octets : coupé au premier octet nul (il
// était lu comme une chaîne terminée par zéro), retours chariot retirés, puis décodé.
std::string NormaliserTexteServeur(std::string brut);

} // namespace emporteur
