#pragma once
// Primitives du système de fichiers sous les aides de Fichiers.h : une implémentation
// par plateforme (posix/, win32/). Chemins en UTF-8 ; un échec est un faux.

#include <string>

namespace emporteur::systeme {

// Vrai si au moins une entrée correspond au motif (jokers * et ?).
bool ChercherMotif(const std::string& motif);
// Crée un seul dossier, sans ses parents.
bool CreerUnDossier(const std::string& chemin);
// Rend à un fichier le droit d'écriture s'il lui a été retiré ; un lien reste tel quel.
void RendreEcrivable(const std::string& chemin);
// Efface le fichier (un lien : le lien seul) et le signale au bureau là où il écoute.
bool EffacerUnFichier(const std::string& chemin);

} // namespace emporteur::systeme
