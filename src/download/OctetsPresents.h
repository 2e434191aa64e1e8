#pragma once
// Ce qu'un fichier de l'ensemble a déjà de juste sur le disque (fichiers de segments,
// fichier entier), pour que l'espace libre ne soit demandé que pour le reste.

#include "commun/Ingredient.h"

#include <cstdint>
#include <string>

namespace emporteur {

// Octets des segments dont le CRC est juste dans leur fichier de segment ou à leur
// place dans le fichier entier ; 0 pour un plan ou un nom refusé. Rien n'est lu à
// travers un lien symbolique. `dossier` finit par "/".
std::uint64_t OctetsPresents(const std::string& dossier, const Ingredient& ingredient);

} // namespace emporteur
