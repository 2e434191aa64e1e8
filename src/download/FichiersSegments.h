#pragma once
// Fichiers de segments du dossier de destination ("%s%s.%d") : lecture, écriture,
// découpage du fichier entier et assemblage. Les étapes et les échecs vont au
// journal de `progression` ; un échec rend faux et n'efface jamais un segment.

#include "commun/Ingredient.h"
#include "download/Progression.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace emporteur {

// `dossier` finit par "/".
std::string NomSegment(const std::string& dossier, const std::string& nomLocal,
                       std::uint32_t index);

// Vrai seulement si le fichier du segment fournit au moins `longueur` octets ; le
// surplus est ignoré.
bool LireSegment(void* tampon, std::uint32_t longueur, const std::string& dossier,
                 const Ingredient& ing, std::uint32_t index);

// Crée ou tronque le fichier du segment et y écrit `longueur` octets.
bool EcrireSegment(const void* tampon, std::uint32_t longueur, const std::string& dossier,
                   const Ingredient& ing, std::uint32_t index);

// Découpe le fichier entier en fichiers de segments, au plus `nombre` : un fichier
// plus court en donne moins, un plus long n'en donne pas davantage.
bool SegmenterFichier(std::uint32_t nombre, const std::string& dossier, const Ingredient& ing,
                      Progression& progression);

// Écrit chaque segment à sa place dans le fichier entier, sur sa longueur prévue
// exactement. Un échec efface le fichier entier ; une annulation le laisse
// partiel et rend faux.
bool ConcatenerSegments(std::uint32_t nombre, const std::string& dossier, const Ingredient& ing,
                        Progression& progression, const std::atomic<bool>& annule);

// Tente chaque effacement ; vrai si aucun fichier de segment ne reste.
bool EffacerSegments(std::uint32_t nombre, const std::string& dossier, const Ingredient& ing,
                     Progression& progression);

} // namespace emporteur
