#pragma once
// Identifiants des ressources du livret : modèles des cinq pages, image, icône et
// contrôles. Lu par windres comme par le compilateur : des #define seulement.

// Modèles des pages, dans l'ordre du livret.
#define IDD_BIENVENUE 130
#define IDD_LISTE_VERSION 133
#define IDD_DESTINATION 134
#define IDD_TELECHARGEMENT 106
#define IDD_TERMINAY 131

#define IDB_ACCUEIL 137 // 134 × 89, 16 couleurs, magenta transparent
#define IDI_EMPORTEUR 138

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Accueil (130).
#define IDC_IMAGE_ACCUEIL 1017
#define IDC_PROXY 1031
#define IDC_MISE_A_JOUR 1032
#define IDC_MISE_A_NIVEAU 1033

// Destination (134).
#define IDC_DOSSIER 1014
#define IDC_PARCOURIR 1015

// Liste des versions (133) ; rubriques 2000 + n et lignes 1234 + i créées à l'exécution.
#define IDC_INTRO_LISTE 1039
#define IDC_CADRE_MISE_A_NIVEAU 1064
#define IDC_CADRE_LISTE 1066
#define IDC_BARRE_LISTE 1067

// Téléchargement (106).
#define IDC_TEMPS_RESTANT 1000
#define IDC_JOURNAL 1003
#define IDC_BARRE_SEGMENT 1004
#define IDC_BARRE_TOTALE 1005
#define IDC_TAILLE_RESTANTE 1007

// Fin (131).
#define IDC_LANCER 1016
#define IDC_COMPTE_RENDU 1019
#define IDC_TEXTE_DOSSIER 1023
#define IDC_EXPLORER 1024
