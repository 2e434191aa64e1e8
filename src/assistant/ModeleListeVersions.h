#pragma once
// Ce que montre la page de liste des versions, calculé sans fenêtre : texte
// d'introduction, rubriques, lignes à cocher et leur disposition en pixels du
// modèle (la fenêtre les met à son échelle), défilement initial.

#include "commun/ContexteTelechargement.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace emporteur {

// Disposition : lignes de 12 pixels espacées de 22, dans des rubriques de
// 34 + 22 × lignes pixels qui se chevauchent de 10.
namespace liste_versions {
inline constexpr int kIdPremiereRubrique = 2001; // chemin ordinaire : 2000 + n, n depuis 1
inline constexpr int kIdCadreMiseANiveau = 1064; // chemin de la mise à niveau : la seule rubrique
inline constexpr int kIdPremiereLigne = 1234;    // 1234 + indice dans Recettes
inline constexpr int kGaucheRubriqueOrdinaire = 10;
inline constexpr int kGaucheRubriqueMiseANiveau = 30;
inline constexpr int kGaucheLigne = 10;      // dans la rubrique
inline constexpr int kMargeDroiteLigne = 20; // droite d'une ligne : droite du texte d'intro − 20
inline constexpr int kHautPremiereLigne = 22;
inline constexpr int kHauteurLigne = 12;
inline constexpr int kEcartLignes = 22;
inline constexpr int kChevauchement = 10;
} // namespace liste_versions

// Droite d'une rubrique : la droite du texte d'introduction, que seule la fenêtre connaît.
struct RubriqueListe {
    int id = 0;
    std::string titre;
    int haut = 0;    // dans le cadre (ordinaire) ou dans la page (mise à niveau)
    int hauteur = 0; // 34 + 22 × lignes
};

struct LigneListe {
    std::size_t indice = 0; // dans Recettes
    int id = 0;
    std::string texte; // "%s (%s mégaoctets)"
    bool cochee = false;
    std::size_t rubrique = 0; // indice dans ModeleListeVersions::rubriques
    int haut = 0;             // dans la rubrique
    int bas = 0;
};

struct ModeleListeVersions {
    bool miseANiveau = false; // cadre et barre cachés, le cadre 1064 seul montre les lignes
    std::string introduction;
    int gaucheRubriques = 0;
    std::vector<RubriqueListe> rubriques;
    std::vector<LigneListe> lignes; // dans l'ordre de Recettes ; un élément sans ligne n'y est pas
    int hauteurContenu = 0;         // haut de la dernière rubrique + sa hauteur, 10 sans rubrique
    int hauteurVisible = 0;
    // Haut de la rubrique + bas de la ligne, pour la dernière ligne présélectionnée.
    std::optional<int> positionDerniereCochee;
    // Défilement à l'ouverture : la dernière présélection au milieu du cadre si
    // elle est plus bas que sa partie visible ; 0 sinon, et sur la mise à niveau.
    int decalage = 0;
};

// `hauteurVisible` : hauteur du cadre de la liste ; `basIntro` : bas du texte
// d'introduction dans la page, haut du cadre 1064 de la mise à niveau.
// Sans ligne : une description vide, une taille de "0,00" mégaoctet, et sur la
// mise à niveau le dernier élément (celui qui reçoit le choix). Une ligne sans
// rubrique ouverte (titre vide en tête) en ouvre une, sans titre. La mise à
// niveau n'a qu'un cadre : toutes ses lignes y vont, sous le premier titre.
ModeleListeVersions ConstruireModeleListe(const ContexteTelechargement& ctx, int hauteurVisible,
                                          int basIntro);

// Nombre d'éléments que la liste parcourt : tous, moins le dernier sur la mise à niveau.
std::size_t ElementsListes(const ContexteTelechargement& ctx);

} // namespace emporteur
