#pragma once
// Tests et changements de fichiers et de dossiers ; un échec est un faux, jamais
// un message (l'appelant s'en charge).

#include "foundation/InterfaceUtilisateur.h"

#include <string>

namespace emporteur {

// Vrai si l'entrée existe, nom pris à la lettre (ni joker ni motif). Un lien
// symbolique (sous Windows, un point de réanalyse) compte pour lui-même, ou pour sa
// cible si `suivreLiens`.
bool EntreeExiste(const std::string& chemin, bool suivreLiens = false);
// Vrai si au moins une entrée correspond ; les jokers * et ? sont honorés.
// Avec un dossier, le motif est dossier + séparateur + nom.
bool FichierExiste(const std::string& nom, const std::string& dossier = {});
// Vrai si l'entrée (dossier ou fichier) existe ; un séparateur final est ignoré ; un
// lecteur nu ("C:") vaut sa racine.
bool DossierExiste(const std::string& chemin);
// Crée le dossier et ses parents manquants ; vrai si la dernière création tentée
// a réussi. Faux, sans rien créer, si le dossier existe déjà.
bool CreerDossier(const std::string& chemin);
// Vrai si le fichier n'est plus là (effacé, ou jamais présent). Trois essais
// espacés de 500 ms ; rend d'abord au fichier le droit d'écriture (lecture seule).
bool EffacerFichier(const std::string& chemin);
// Choix d'un dossier par l'utilisateur ; vrai et le chemin dans `chemin`.
bool ChoisirDossier(InterfaceUtilisateur& ui, std::string& chemin, const std::string& titre);

} // namespace emporteur
