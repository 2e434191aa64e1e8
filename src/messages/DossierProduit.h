#pragma once
// Recherche du dossier où Orthalis est installé : le premier de cinq endroits qui
// contient vraiment "Orthal32.exe". Rien n'est montré ; un échec est un faux.

#include "foundation/DossiersUtilisateur.h"

#include <cstddef>
#include <string>

namespace emporteur {

inline constexpr const char* kExecutableProduit = "Orthal32.exe";
// Capacité par défaut d'un chemin, zéro final compris (PATH_MAX).
inline constexpr std::size_t kCapaciteChemin = 4096;

// Endroits, dans l'ordre : le dossier du programme, le dossier "Orthalis" voisin,
// "DossierOrthalis" sous HKEY_CURRENT_USER puis HKEY_LOCAL_MACHINE, "Repertoire" de
// Orthalis.ini dans le dossier Windows. Vrai et le dossier (terminé par "/") dans
// `dossier` ; faux et `dossier` vide sinon. Un dossier qui ne tiendrait pas, zéro final
// compris, dans `capacite` octets est écarté. `programme` : chemin de l'exécutable.
bool TrouverDossierProduit(std::string& dossier, std::size_t capacite = kCapaciteChemin,
                           const std::string& programme = CheminProgramme());

// Vrai et le chemin complet de "Orthal32.exe" s'il est trouvé et tient, zéro final
// compris, dans `capacite` octets ; sinon faux et `chemin` inchangé.
bool CheminExecutableProduit(std::string& chemin, std::size_t capacite = kCapaciteChemin,
                             const std::string& programme = CheminProgramme());

} // namespace emporteur
