#pragma once
// Liste CRC d'un fichier pour le catalogue ("crc=") : un CRC-32 par segment
// ("%u" séparés d'un blanc, au moins un), et sa taille ("taille=").

#include <cstdint>
#include <string>

namespace emporteur {

struct ListeCrc {
    std::string Texte;
    std::uint32_t Taille = 0;
};

// Faux, avec la raison en français dans `erreur`, si la taille de segment est
// nulle, si le fichier ne peut être lu jusqu'au bout ou s'il atteint 4 Gio.
bool CalculerListeCrc(const std::string& chemin, std::uint32_t tailleSegment, ListeCrc& liste,
                      std::string& erreur);

} // namespace emporteur
