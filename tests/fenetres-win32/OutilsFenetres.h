#pragma once
// Outils des essais de fenêtres sous wine : pomper les messages d'un livret sans mode
// jusqu'à une condition, relire les contrôles d'une fenêtre et les tenir contre leur modèle.

#include "fenetres-win32/Livret.h"

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace emporteur::win32::essais::livret {

// Pompe les messages (ceux du livret par PropSheet_IsDialogMessage) jusqu'à ce que
// `condition` soit vraie ; faux après `limite`. Un WM_QUIT reçu est noté dans `quitte`.
bool Pomper(HWND livret, const std::function<bool()>& condition,
            std::chrono::milliseconds limite = std::chrono::seconds(20), bool* quitte = nullptr);
// Laisse passer les messages en attente (peinture, messages postés).
void Vider(HWND livret);

// Un contrôle tel que le modèle le décrit : position en unités de dialogue.
struct ControleModele {
    int id;
    std::wstring classe;
    std::wstring texte;
    DWORD style; // sans WS_CHILD, ajouté à la comparaison
    int x, y, cx, cy;
};

// Un contrôle tel que la fenêtre le montre : position en pixels dans la page.
struct ControleLu {
    HWND fenetre;
    int id;
    std::wstring classe;
    std::wstring texte;
    DWORD style;
    RECT rect;
};

// Les enfants directs de `fenetre`, dans l'ordre de leur création (ordre du modèle).
std::vector<ControleLu> LireControles(HWND fenetre);

// Ce qui diffère entre le modèle et la page, une ligne par écart ; vide si tout tient.
// Les changements de style connus de wine sont admis : un bouton radio non coché perd
// WS_TABSTOP, une barre de progression perd WS_BORDER.
std::vector<std::string> Ecarts(HWND page, const std::vector<ControleModele>& modele);

std::string Utf8(const std::wstring& texte);
std::wstring TexteFenetre(HWND fenetre);

} // namespace emporteur::win32::essais::livret
