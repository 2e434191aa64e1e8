#pragma once
// Les modèles des cinq pages tels que les décrit l'assistant : pour chacun, ses
// contrôles dans l'ordre (texte, id, classe, style, position en unités de dialogue).

#include "OutilsFenetres.h"

namespace emporteur::win32::essais::livret {

struct Modele {
    int id;
    const char* nom;
    int cx, cy; // taille du modèle, en unités de dialogue
    std::vector<ControleModele> controles;
};

// Dans l'ordre du livret : accueil, liste des versions, destination, téléchargement, fin.
const std::vector<Modele>& ModelesPages();

} // namespace emporteur::win32::essais::livret
