#pragma once
// Le choix fait dans la liste des versions : Suivant exige au moins une case
// cochée ; en quittant la page, les fichiers cochés sont rassemblés dans un seul
// élément, dont l'indice va dans IndiceChoisi.
//
// `cochees` suit Recettes : une case par élément, à faux pour un élément sans
// ligne ; un vecteur plus court compte ses absents comme décochés.

#include "commun/ContexteTelechargement.h"

#include <vector>

namespace emporteur {

// Vrai : la page peut passer à la suivante. Faux après l'avertissement
// (« mise à niveau » ou « mise à jour » selon le chemin) : la page reste.
bool AccepterChoixVersions(ContexteTelechargement& ctx, const std::vector<bool>& cochees);

// Chemin ordinaire : le premier élément coché reçoit les fichiers des suivants,
// IndiceChoisi = son indice (-1 si rien n'est coché). Mise à niveau : le dernier
// élément reçoit les fichiers de tous les cochés et IndiceChoisi = son indice.
// Les éléments copiés ne changent pas.
void RassemblerChoixVersions(ContexteTelechargement& ctx, const std::vector<bool>& cochees);

} // namespace emporteur
