#pragma once
// Les images du programme, dessinées pour lui (scripts/dessiner-images.py).

#include <QIcon>
#include <QPixmap>

namespace emporteur::fenetres {

// L'icône du programme en 16, 32 et 48 pixels.
QIcon IconeProgramme();

// L'image de l'accueil, 134 × 89, son magenta rendu transparent.
QPixmap ImageAccueil();

} // namespace emporteur::fenetres
