#pragma once
// Les boutons d'une boîte de message selon son mot de style, dans l'ordre
// d'affichage, et ce que rendent Entrée et Échap, comme sous Windows.

#include <vector>

namespace emporteur {

// Identifiants des boutons du jeu MB_* (IDOK…), de gauche à droite.
std::vector<int> BoutonsDeLaBoite(unsigned style);

// Échap (et la case de fermeture) : IDCANCEL si la boîte a « Annuler », IDOK pour
// une boîte à seul bouton OK, 0 sinon (la touche est sans effet).
int ReponseEchap(unsigned style);

} // namespace emporteur
