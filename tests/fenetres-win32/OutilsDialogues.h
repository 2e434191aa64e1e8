#pragma once
// Outils des essais des dialogues sous wine : pomper les messages d'un dialogue sans
// mode, lui passer une touche comme sa boucle le ferait, relire ses contrôles et les
// tenir contre leur modèle (positions en unités de dialogue par MapDialogRect).

#include "foundation/ConstantesWin32.h"

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace emporteur::win32::essais_dialogues {

// Traite les messages en attente du fil (ceux du dialogue par IsDialogMessageW).
void Pomper(HWND dialogue);
// Pompe jusqu'à ce que `condition` soit vraie ; faux après `limite`.
bool PomperJusqua(HWND dialogue, const std::function<bool()>& condition,
                  std::chrono::milliseconds limite = std::chrono::seconds(30));
// Une touche reçue par `controle`, passée par IsDialogMessageW comme dans la boucle
// d'un dialogue (Entrée, Échap) ; pas de clavier réel.
void Touche(HWND dialogue, HWND controle, WPARAM touche);

// Un contrôle tel que le modèle le décrit : style sans WS_CHILD ni WS_VISIBLE,
// position en unités de dialogue.
struct ControleModele {
    int id;
    std::wstring classe;
    std::string texte; // UTF-8
    DWORD style;
    int x, y, cx, cy;
};

// Ce qui diffère entre le modèle et les enfants du dialogue, pris dans l'ordre de leur
// création, une ligne par écart ; vide si tout tient.
std::vector<std::string> Ecarts(HWND dialogue, const std::vector<ControleModele>& modele);

std::string TexteDe(HWND fenetre);
bool Actif(HWND dialogue, int id);
bool Visible(HWND dialogue, int id);

// Le dialogue de premier niveau de ce fil dont la légende est `titre` ; nul sinon.
HWND DialogueDuFil(DWORD fil, const std::string& titre);

} // namespace emporteur::win32::essais_dialogues
