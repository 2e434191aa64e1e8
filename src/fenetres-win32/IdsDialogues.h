#pragma once
// Identifiants des dialogues hors livret : mandataire, avis de mise à jour, identifiants,
// outil CRC. Lu par windres comme par le compilateur : des #define seulement.

#define IDD_AVIS 101
#define IDD_PROXY 141
#define IDD_MODE_ADMIN 142
#define IDD_IDENTIFIANTS 143

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Avis de mise à jour (101).
#define IDC_AVIS_MISE_A_NIVEAU 1053
#define IDC_AVIS_QUESTION 1055
#define IDC_AVIS_VERSION 1056
#define IDC_AVIS_MISE_A_JOUR 1057
#define IDC_AVIS_PLUS_TARD 1058
#define IDC_AVIS_NE_PLUS_AVISER 1059

// Mandataire (141) ; Confirmer et Annuler sont IDOK et IDCANCEL.
#define IDC_PROXY_SERVEUR 1028
#define IDC_PROXY_PORT 1029

// Outil CRC (142) ; Terminé est IDCANCEL.
#define IDC_CRC_PARCOURIR 1005
#define IDC_CRC_FICHIER 1006
#define IDC_CRC_TAILLE 1007
#define IDC_CRC_TOTAL 1008
#define IDC_CRC_LISTE 1010
#define IDC_CRC_CALCULER 1011

// Identifiants (143) ; OK et Annuler sont IDOK et IDCANCEL.
#define IDC_IDENT_INVITE 1080
#define IDC_IDENT_ADRESSE 1081
#define IDC_IDENT_UTILISATEUR 1082
#define IDC_IDENT_MOT_DE_PASSE 1083
