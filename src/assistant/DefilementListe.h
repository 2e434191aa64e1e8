#pragma once
// Le défilement de la liste des versions par sa barre : pas de ligne et de page,
// bornes. La barre va de 0 au décalage maximal et sa position est le décalage :
// un contenu qui tient dans le cadre ne bouge jamais.

namespace emporteur {

enum class ActionBarre { LigneHaut, LigneBas, PageHaut, PageBas, Curseur, Autre };

struct EtatDefilement {
    int decalage = 0; // pixels dont le contenu est monté
    int hauteurContenu = 0;
    int hauteurVisible = 0;
};

// Décalage maximal : contenu − cadre, 0 si le contenu tient.
int DecalageMaximal(const EtatDefilement& etat);

// Nouveau décalage après une action ; `curseur` ne sert qu'à ActionBarre::Curseur.
// Pas de ligne : 1/20 du décalage maximal, de page : 1/10, jamais moins de 5.
int Defiler(const EtatDefilement& etat, ActionBarre action, int curseur = 0);

} // namespace emporteur
