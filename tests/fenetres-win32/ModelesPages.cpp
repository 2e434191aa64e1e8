#include "ModelesPages.h"

#include "fenetres-win32/IdsPages.h"

namespace emporteur::win32::essais::livret {

namespace {
constexpr DWORD V = WS_VISIBLE;
constexpr DWORD Texte = V | WS_GROUP | SS_LEFT; // LTEXT

} // namespace

const std::vector<Modele>& ModelesPages() {
    static const std::vector<Modele> modeles{
        {IDD_BIENVENUE,
         "accueil",
         321,
         258,
         {
             {IDC_MISE_A_JOUR, L"Button", L"Télécharger une mise à jour gratuite",
              V | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 12, 72, 142, 10},
             {IDC_MISE_A_NIVEAU, L"Button",
              L"Télécharger une mise à niveau achetée à la boutique Orthalis",
              V | BS_AUTORADIOBUTTON | WS_TABSTOP, 11, 89, 223, 10},
             {IDC_PROXY, L"Button", L"Utiliser un serveur proxy (option avancée).",
              V | BS_AUTOCHECKBOX | WS_TABSTOP, 12, 164, 155, 10},
             {IDC_STATIC, L"Static",
              L"Il découpe les fichiers en petits segments et en vérifie la validité. Ainsi, une "
              L"corruption ou une interruption du transfert permettra de ne télécharger que les "
              L"segments manquants.",
              Texte, 105, 34, 204, 34},
             {IDC_STATIC, L"Static",
              L"L\u2019Emporteur est un outil qui facilite le téléchargement de fichiers "
              L"volumineux.",
              Texte, 105, 9, 202, 19},
             // Le texte d'une image statique : la référence ordinale de sa ressource, « #137 ».
             {IDC_IMAGE_ACCUEIL, L"Static", std::wstring{0xFFFF, IDB_ACCUEIL}, SS_BITMAP, 7, 7, 89,
              55},
             {IDC_STATIC, L"Static", L"v3.0.0.0", Texte, 12, 243, 42, 8},
         }},
        {IDD_LISTE_VERSION,
         "liste des versions",
         322,
         265,
         {
             {IDC_INTRO_LISTE, L"Static", L"Paramètre fictif", Texte, 20, 2, 254, 47},
             {IDC_CADRE_LISTE, L"Static", L"",
              V | SS_LEFT | SS_SUNKEN | SS_NOTIFY | WS_CLIPCHILDREN, 4, 59, 302, 203},
             {IDC_BARRE_LISTE, L"ScrollBar", L"", V | SBS_VERT, 307, 59, 10, 203},
             {IDC_CADRE_MISE_A_NIVEAU, L"Button", L"", BS_GROUPBOX, 1, 83, 266, 31},
         }},
        {IDD_DESTINATION,
         "destination",
         321,
         194,
         {
             {IDC_STATIC, L"Static",
              L"Veuillez indiquer l\u2019emplacement où sauvegarder les fichiers à télécharger.",
              Texte, 24, 6, 276, 8},
             {IDC_DOSSIER, L"Edit", L"", V | WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, 22, 71, 278,
              12},
             {IDC_PARCOURIR, L"Button", L"Parcourir...", V | BS_PUSHBUTTON | WS_TABSTOP, 227, 90,
              50, 12},
             {IDC_STATIC, L"Static",
              L"En cas d\u2019interruption du transfert, les segments temporaires seront "
              L"sauvegardés à cet emplacement.",
              Texte, 24, 22, 276, 18},
             {IDC_STATIC, L"Static",
              L"Pour compléter un téléchargement interrompu, choisissez le même emplacement "
              L"qu\u2019au premier essai.",
              Texte, 24, 47, 276, 18},
         }},
        {IDD_TELECHARGEMENT,
         "téléchargement",
         304,
         158,
         {
             {IDC_TEMPS_RESTANT, L"Static", L"", Texte | WS_BORDER, 12, 89, 276, 13},
             {IDC_JOURNAL, L"Edit", L"",
              V | ES_MULTILINE | ES_READONLY | WS_BORDER | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, 13,
              6, 276, 80},
             {IDC_BARRE_SEGMENT, PROGRESS_CLASSW, L"", V | PBS_SMOOTH | WS_BORDER, 117, 143, 171,
              14},
             {IDC_BARRE_TOTALE, PROGRESS_CLASSW, L"", V | PBS_SMOOTH | WS_BORDER, 117, 126, 171,
              14},
             {IDC_STATIC, L"Static", L"Pourcentage total", Texte, 11, 129, 58, 8},
             {IDC_STATIC, L"Static", L"Pourcentage pour ce segment", Texte, 11, 145, 99, 8},
             {IDC_TAILLE_RESTANTE, L"Static", L"", Texte | WS_BORDER, 12, 106, 276, 13},
         }},
        {IDD_TERMINAY,
         "fin",
         321,
         158,
         {
             {IDC_EXPLORER, L"Button", L"Explorer ce dossier...", V | BS_PUSHBUTTON | WS_TABSTOP,
              21, 124, 86, 14},
             {IDC_LANCER, L"Button", L"Lancer l\u2019exécutable maintenant",
              V | BS_AUTOCHECKBOX | WS_TABSTOP, 21, 149, 276, 8},
             {IDC_STATIC, L"Static",
              L"Le téléchargement est terminé. Voici un court compte rendu\u00A0:", Texte, 21, 6,
              203, 8},
             {IDC_COMPTE_RENDU, WC_LISTVIEWW, L"", V | WS_BORDER, 21, 18, 276, 71},
             {IDC_TEXTE_DOSSIER, L"Static", L"Paramètre fictif", Texte | SS_SUNKEN, 21, 94, 276,
              26},
         }},
    };
    return modeles;
}

} // namespace emporteur::win32::essais::livret
