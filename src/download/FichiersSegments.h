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

class AssemblageEnCours;

// `dossier` finit par "/".
std::string NomSegment(const std::string& dossier, const std::string& nomLocal,
                       std::uint32_t index);

// Nom réservé sous lequel le fichier entier est assemblé avant d'être renommé :
// "." + nom local + ".assemblage", jamais un nom de segment.
std::string NomAssemblage(const std::string& dossier, const std::string& nomLocal);

// Un nom local reste dans le dossier (ni "/", ni ".", ni "..", ni NUL) et n'a pas
// la forme d'un nom d'assemblage, qui ferait effacer le fichier d'un autre.
bool NomLocalAdmis(const std::string& nom);

// Retire un assemblage laissé par une exécution interrompue, puis vérifie que le
// dossier accepte un fichier neuf ; faux s'il ne l'accepte pas. À appeler sous le
// verrou du fichier : l'assemblage d'une autre copie n'est jamais touché.
bool PreparerAssemblage(const std::string& dossier, const std::string& nomLocal);
// Retire seulement l'assemblage laissé (même condition de verrou).
void EffacerAssemblage(const std::string& dossier, const std::string& nomLocal);

// Vrai seulement si le fichier du segment fournit au moins `longueur` octets ; le
// surplus est ignoré.
bool LireSegment(void* tampon, std::uint32_t longueur, const std::string& dossier,
                 const Ingredient& ing, std::uint32_t index);

// Écrit `longueur` octets dans un fichier de segment neuf (l'ancien est retiré, un
// lien symbolique refusé).
bool EcrireSegment(const void* tampon, std::uint32_t longueur, const std::string& dossier,
                   const Ingredient& ing, std::uint32_t index);

// Découpe le fichier entier en fichiers de segments, au plus `nombre` : un fichier
// plus court en donne moins, un plus long n'en donne pas davantage. Un fichier de
// segment déjà valide n'est jamais récrit : le fichier entier peut être faux.
bool SegmenterFichier(std::uint32_t nombre, const std::string& dossier, const Ingredient& ing,
                      Progression& progression);

// Écrit chaque segment à sa place, sur sa longueur prévue exactement, dans
// l'assemblage, qui est mis sur le disque puis renommé en fichier entier : celui-ci
// paraît entier ou pas du tout. Un échec ou une annulation retire l'assemblage et
// rend faux ; les segments restent. `enCours` : l'assemblage commencé pendant le
// téléchargement, dont les segments déjà placés ne sont pas recopiés.
bool ConcatenerSegments(std::uint32_t nombre, const std::string& dossier, const Ingredient& ing,
                        Progression& progression, const std::atomic<bool>& annule,
                        AssemblageEnCours* enCours = nullptr);

// Tente chaque effacement ; vrai si aucun fichier de segment ne reste.
bool EffacerSegments(std::uint32_t nombre, const std::string& dossier, const Ingredient& ing,
                     Progression& progression);

} // namespace emporteur
