// Les modèles des dialogues, montrés tels quels (sans leur logique) : légende, style,
// taille, puis chaque contrôle, son id, sa classe, son texte octet pour octet, son
// style et sa position en unités de dialogue.
#include "OutilsDialogues.h"
#include "fenetres-win32/IdsDialogues.h"

#include <gtest/gtest.h>

namespace emporteur::win32::essais_dialogues {
namespace {

constexpr DWORD kBouton = BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD kDefaut = BS_DEFPUSHBUTTON | WS_TABSTOP;
constexpr DWORD kTexte = SS_LEFT | WS_GROUP;
constexpr DWORD kZone = ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER;

struct ModeleDialogue {
    int id;
    std::string legende;
    bool menuSysteme; // et donc la case de fermeture
    int cx, cy;
    std::vector<ControleModele> controles;
};

const ModeleDialogue kModeles[] = {
    {IDD_AVIS,
     "Emporteur",
     false,
     263,
     105,
     {
         {IDC_AVIS_MISE_A_NIVEAU, L"Button", "Mise à niveau", kBouton, 57, 74, 56, 13},
         {IDC_AVIS_MISE_A_JOUR, L"Button", "Mise à jour", kBouton, 125, 74, 56, 13},
         {IDC_AVIS_PLUS_TARD, L"Button", "&Annuler", kDefaut, 196, 74, 48, 13},
         {IDC_AVIS_QUESTION, L"Static", "Information", kTexte, 15, 33, 222, 19},
         {IDC_AVIS_VERSION, L"Static", "Version d’Orthalis", kTexte, 15, 14, 182, 16},
         {IDC_AVIS_NE_PLUS_AVISER, L"Button", "Ne plus aviser", BS_AUTOCHECKBOX | WS_TABSTOP, 14,
          58, 61, 10},
     }},
    {IDD_PROXY,
     "",
     true,
     230,
     67,
     {
         {IDC_PROXY_SERVEUR, L"Edit", "", kZone, 96, 6, 126, 12},
         {IDC_PROXY_PORT, L"Edit", "", kZone, 96, 24, 126, 12},
         {IDOK, L"Button", "Confirmer", kDefaut, 119, 46, 50, 14},
         {IDCANCEL, L"Button", "Annuler", kBouton, 173, 46, 50, 14},
         {IDC_STATIC, L"Static", "Nom du serveur proxy :", kTexte, 12, 6, 78, 12},
         {IDC_STATIC, L"Static", "Port :", kTexte, 12, 24, 78, 12},
     }},
    {IDD_MODE_ADMIN,
     "Generation des CRC",
     true,
     239,
     208,
     {
         {IDC_STATIC, L"Static", "Taille des segments (en octets) :", kTexte, 7, 9, 112, 8},
         {IDC_CRC_TAILLE, L"Edit", "", kZone, 122, 7, 60, 12},
         {IDC_CRC_PARCOURIR, L"Button", "Parcourir...", kBouton, 186, 25, 46, 14},
         {IDC_CRC_CALCULER, L"Button", "Calculer", kDefaut | WS_DISABLED, 128, 188, 50, 14},
         {IDCANCEL, L"Button", "Terminé", kBouton, 182, 188, 50, 14},
         {IDC_CRC_LISTE, L"Edit", "",
          ES_LEFT | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP |
              WS_BORDER,
          7, 45, 225, 118},
         {IDC_STATIC, L"Static", "Taille totale en octets :", kTexte, 7, 170, 85, 8},
         {IDC_CRC_TOTAL, L"Edit", "", kZone | ES_READONLY, 95, 168, 87, 12},
         {IDC_CRC_FICHIER, L"Edit", "", kZone | ES_READONLY, 7, 26, 175, 12},
     }},
    {IDD_IDENTIFIANTS,
     "Emporteur",
     true,
     230,
     104,
     {
         {IDC_IDENT_INVITE, L"Static", "Le serveur demande une authentification :", kTexte, 7, 7,
          216, 8},
         {IDC_IDENT_ADRESSE, L"Edit", "", ES_LEFT | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY, 7,
          18, 216, 18},
         {IDC_STATIC, L"Static", "Nom d’utilisateur :", kTexte, 7, 46, 70, 8},
         {IDC_IDENT_UTILISATEUR, L"Edit", "", kZone, 80, 44, 143, 12},
         {IDC_STATIC, L"Static", "Mot de passe :", kTexte, 7, 64, 70, 8},
         {IDC_IDENT_MOT_DE_PASSE, L"Edit", "", kZone | ES_PASSWORD, 80, 62, 143, 12},
         {IDOK, L"Button", "OK", kDefaut, 119, 84, 50, 14},
         {IDCANCEL, L"Button", "Annuler", kBouton, 173, 84, 50, 14},
     }},
};

// Le modèle seul : aucune logique, le focus laissé où il est (un bouton qui le prend
// deviendrait bouton par défaut et changerait de style).
INT_PTR CALLBACK Brut(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

TEST(ModelesDialoguesWin32, TextesIdsStylesEtPositionsDuModele) {
    for (const ModeleDialogue& m : kModeles) {
        const HWND dialogue =
            CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m.id), nullptr, Brut, 0);
        ASSERT_NE(dialogue, nullptr) << m.id;
        EXPECT_EQ(TexteDe(dialogue), m.legende) << m.id;
        const auto style = static_cast<DWORD>(GetWindowLongW(dialogue, GWL_STYLE));
        EXPECT_EQ((style & WS_SYSMENU) != 0, m.menuSysteme) << m.id;
        EXPECT_TRUE(style & WS_CAPTION) << m.id;
        RECT client, attendu{0, 0, m.cx, m.cy};
        GetClientRect(dialogue, &client);
        MapDialogRect(dialogue, &attendu);
        EXPECT_TRUE(EqualRect(&client, &attendu)) << m.id;
        for (const std::string& ecart : Ecarts(dialogue, m.controles))
            ADD_FAILURE() << "modèle " << m.id << ", " << ecart;
        DestroyWindow(dialogue);
    }
}

} // namespace
} // namespace emporteur::win32::essais_dialogues
