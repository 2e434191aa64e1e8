#pragma once
// Un affichage graphique joignable : ce que le programme à fenêtres exige pour s'ouvrir.
// Sans lui, la bibliothèque graphique avorte le processus ; on le demande donc avant.

#include <string>

namespace emporteur {

// Code de sortie de `emporteur` quand aucun affichage n'est joignable (documenté par
// son aide et sa page de manuel).
inline constexpr int kCodeSansAffichage = 3;
inline constexpr const char* kMessageSansAffichage =
    "Emporteur : aucun affichage graphique disponible.";

// Vrai si une plateforme sans écran est imposée (QT_QPA_PLATFORM "offscreen",
// "minimal"…), ou si le serveur de WAYLAND_DISPLAY ou de DISPLAY accepte une
// connexion locale. Un DISPLAY distant (hôte:n) est cru sur parole : le joindre
// pourrait attendre le réseau. Sous Windows : vrai sauf dans une station de fenêtres
// invisible (un service), où aucune fenêtre ne se verrait.
bool AffichageDisponible();

} // namespace emporteur
