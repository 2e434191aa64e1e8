// emporteur.exe : l'assistant Windows. La ligne de commande est le texte qui suit le
// nom du programme, d'un seul tenant, comme Windows le donne.
#include "fenetres-win32/Demarrage.h"
#include "foundation/win32/Utf16.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR ligne, int) {
    return emporteur::win32::Demarrer(emporteur::DepuisUtf16(ligne ? ligne : L""));
}
