#pragma once
// Le livret de l'assistant : une feuille de propriétés en mode assistant (Précédent,
// Suivant, Terminer, Annuler ; pas d'Aide), titrée "Emporteur", sans parent, faite des
// pages données dans leur ordre. Ses boutons sont en français quelle que soit la
// langue du système. Une demande de fin (WM_QUIT posté) termine sa boucle modale.

#include "fenetres-win32/PageLivret.h"

#include <vector>

namespace emporteur::win32 {

class Livret {
  public:
    // Les pages ne sont pas possédées et doivent survivre au livret ; `module` porte
    // leurs modèles ; `premiere` : l'indice de la première page montrée.
    Livret(HINSTANCE module, std::vector<PageLivret*> pages, int premiere = 0);

    // Montre le livret et rend la main à sa fermeture (Terminer, Annuler, demande de fin).
    void Executer();
    // Montre le livret sans mode (essais) : la boucle de messages est celle de
    // l'appelant, qui passe chaque message par PropSheet_IsDialogMessage. Nulle si
    // le livret n'a pas pu être créé.
    HWND Montrer();

    // Demande de fin : posée sur la file du fil, elle ferme le livret modal.
    static void DemanderFin();

  private:
    PROPSHEETHEADERW Entete(DWORD drapeaux);

    HINSTANCE module_;
    std::vector<PageLivret*> pages_;
    std::vector<PROPSHEETPAGEW> descriptions_;
    int premiere_;
};

// Textes des boutons du livret, fixés à sa création.
inline constexpr const wchar_t* kTextePrecedent = L"< &Précédent";
inline constexpr const wchar_t* kTexteSuivant = L"&Suivant >";
inline constexpr const wchar_t* kTexteTerminer = L"Terminer";
inline constexpr const wchar_t* kTexteAnnuler = L"Annuler";
inline constexpr const wchar_t* kTexteFermer = L"Fermer";

// Identifiants des boutons de la feuille (ceux de comctl32).
inline constexpr int kBoutonPrecedent = 0x3023;
inline constexpr int kBoutonSuivant = 0x3024;
inline constexpr int kBoutonTerminer = 0x3025;

} // namespace emporteur::win32
