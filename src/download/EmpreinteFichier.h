#pragma once
// L'empreinte SHA-256 d'un fichier entier comparée à celle que le catalogue donne
// ("sha256=") : avant que l'assemblage prenne le nom final, et de nouveau juste
// avant qu'un fichier soit lancé. Les CRC-32 des segments disent qu'aucun accident
// n'a eu lieu ; l'empreinte, signée avec le catalogue, que le fichier est le bon.

#include "commun/Ingredient.h"
#include "download/DescripteurFichier.h"
#include "foundation/Empreinte.h"

#include <cstdint>
#include <string>

namespace emporteur {

inline constexpr const char* kMessageEmpreinte =
    "Échec de téléchargement : le fichier reçu ne correspond pas à son empreinte SHA-256.";

// L'empreinte de tout le fichier ; faux si la lecture échoue.
bool CalculerEmpreinte(const DescripteurFichier& fichier, Sha256& resultat);
// Vrai si `fichier`, lu du début à la fin, a l'empreinte `attendue` (64 chiffres
// hexadécimaux) ; une empreinte attendue illisible ou une lecture impossible : faux.
bool EmpreinteConforme(const DescripteurFichier& fichier, const std::string& attendue);
// Même comparaison pour le fichier `chemin` (un dossier ou un tube : faux).
bool EmpreinteFichierConforme(const std::string& chemin, const std::string& attendue);

} // namespace emporteur
