#pragma once
// Les boutons d'une boîte de message selon son mot de style, dans l'ordre
// d'affichage, et ce que rendent Entrée et Échap, comme sous Windows.

#include "foundation/InterfaceUtilisateur.h"

#include <vector>

namespace emporteur {

// Identifiants des boutons du jeu MB_* (IDOK…), de gauche à droite.
std::vector<Reponse> BoutonsDeLaBoite(unsigned style);

// Échap (et la case de fermeture) : IDCANCEL si la boîte a « Annuler », IDOK pour
// une boîte à seul bouton OK, Reponse{} sinon (la touche est sans effet).
Reponse ReponseEchap(unsigned style);

} // namespace emporteur
