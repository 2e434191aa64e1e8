#pragma once
// Informations de version d'un fichier exécutable. Le programme lui-même n'est pas une
// image PE : ses informations sont compilées en lui, et répondent pour son propre chemin.

#include "foundation/DonneesVersion.h"

#include <cstdint>
#include <span>
#include <string>

namespace emporteur {

enum class LectureVersion { Trouvee, Absente, Illisible };

// Trouvee et `donnees` remplies ; Absente pour un fichier sans information de version
// (ou mal formé, tronqué, hostile) ; Illisible s'il ne peut être ouvert comme fichier.
LectureVersion LireDonneesVersion(const std::string& chemin, DonneesVersion& donnees);

// Même lecture sur une image PE déjà en mémoire ; vrai si trouvée.
bool DecoderVersionPe(std::span<const std::uint8_t> image, DonneesVersion& donnees);

// Les informations de version du programme : le seul endroit où elles sont écrites.
const DonneesVersion& DonneesVersionProgramme();

// Vrai si le chemin désigne l'exécutable du programme en cours.
bool EstProgramme(const std::string& chemin);

} // namespace emporteur
