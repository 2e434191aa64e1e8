#pragma once
// Les noms d'un dossier de destination vus sans suivre de lien, et leurs changements
// sûrs : retrait d'un nom, remplacement d'un fichier d'un seul coup. Un échec garde
// sa cause dans DerniereErreur().

#include <string>

namespace emporteur {

enum class NatureEntree {
    Absente,
    Fichier, // fichier ordinaire
    Lien,    // lien symbolique, ou tout point de réanalyse sous Windows (jonction…)
    Dossier,
    Autre,    // tube, périphérique…
    Illisible // l'état n'a pas pu être lu (droits) : ni absente ni connue
};

// Ce qu'est `chemin` lui-même, un lien n'étant jamais suivi.
NatureEntree NatureSansSuivre(const std::string& chemin);

// Retire le nom (un lien : le lien seul, sa cible reste). Vrai si retiré.
bool RetirerNom(const std::string& chemin);

// `source` prend la place de `cible` d'un seul coup : on voit l'ancien fichier ou le
// nouveau, jamais un mélange. Sous Windows le renommage est écrit à travers
// (MOVEFILE_WRITE_THROUGH) : il est durable au retour.
bool RemplacerAtomiquement(const std::string& source, const std::string& cible);

// Rend durable un renommage fait dans `dossier` (fsync du dossier). Windows n'a pas
// de synchronisation de dossier : rien à faire, le renommage l'a déjà été.
void SynchroniserDossier(const std::string& dossier);

} // namespace emporteur
