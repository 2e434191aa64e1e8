#pragma once
// Édition des chemins en place, séparateur "/". Aucune limite de longueur :
// un chemin n'est jamais tronqué.

#include <string>

namespace emporteur {

inline constexpr char kSeparateur = '/';

// Ajoute "/" sauf si la chaîne est vide ou finit déjà par "/".
void AjouterBarre(std::string& chemin);
// Retire un "/" final s'il y en a un.
void RetirerBarre(std::string& chemin);
// Coupe au dernier "/" (lui compris) ; sans "/", la chaîne devient vide.
void RetirerDernierElement(std::string& chemin);
// Si le dernier élément contient un point, coupe au "/" qui le précède ;
// le premier caractère n'est jamais examiné.
void RetirerNomFichier(std::string& chemin);

} // namespace emporteur
