#pragma once
// La lecture décimale du programme, à la manière d'atoi : blancs de tête sautés, signe
// facultatif, chiffres jusqu'au premier autre caractère, 0 sans chiffre. Chaque
// appelant choisit comment ramener le nombre à 32 bits.

#include <cstdint>
#include <string_view>

namespace emporteur {

struct NombreDecimal {
    bool Negatif = false;
    bool Chiffres = false;      // au moins un chiffre lu
    bool TexteEntier = false;   // signe et chiffres seulement, sans blanc ni reste
    std::uint32_t Modulo32 = 0; // valeur absolue modulo 2^32
    std::uint64_t Absolue = 0;  // valeur absolue, plafonnée à 2^32

    // Avec son signe, modulo 2^32 : "4294967295" et "-1" donnent les mêmes 32 bits.
    std::uint32_t Modulo() const { return Negatif ? 0u - Modulo32 : Modulo32; }
    // Avec son signe, bornée aux limites d'un entier signé de 32 bits.
    std::int32_t Borne() const;
    // Vrai si le nombre tient sans borne dans un entier signé de 32 bits.
    bool TientSur32Bits() const;
};

NombreDecimal LireDecimal(std::string_view texte);

// Vrai si tout le texte est un entier décimal (signe facultatif, ni blanc ni reste)
// qui tient dans un entier signé de 32 bits ; sa valeur dans `valeur`.
bool LireEntierStrict(std::string_view texte, std::int32_t& valeur);

} // namespace emporteur
