#pragma once
// Liste CRC d'un fichier pour le catalogue ("crc=") : un CRC-32 par segment
// ("%u" séparés d'un blanc, au moins un), et sa taille ("taille=").

#include <atomic>
#include <cstdint>
#include <string>

namespace emporteur {

struct ListeCrc {
    std::string Texte;
    std::uint32_t Taille = 0;
};

// Faux, avec la raison en français dans `erreur`, si la taille de segment est
// nulle, si le fichier ne peut être ouvert ou lu jusqu'au bout, s'il atteint 4 Gio,
// ou si `annulation` a été levé (vu entre deux morceaux lus). `liste` ne change
// qu'en cas de succès ; la mémoire tenue ne dépend pas de la taille du fichier.
bool CalculerListeCrc(const std::string& chemin, std::uint32_t tailleSegment, ListeCrc& liste,
                      std::string& erreur, const std::atomic<bool>* annulation = nullptr);

// La taille telle que le catalogue la porte ("%d").
std::string TexteTaille(std::uint32_t taille);

} // namespace emporteur
