#pragma once
// Récupération du catalogue sur le serveur de téléchargement (mise à jour et
// mise à niveau) et choix de l'élément qui convient à la version installée.
// Ce niveau rend des verdicts et ne montre rien : les boîtes, le navigateur, le
// mandataire mémorisé et la fin du processus sont l'affaire des frontaux et de la
// logique des pages.

#include "commun/ContexteTelechargement.h"
#include "http/ChargerTexte.h"

#include <cstddef>
#include <string>

namespace emporteur {

// Chaque texte du catalogue est reçu dans un tampon de cette taille.
inline constexpr std::size_t kCapaciteCatalogue = 128000;
inline constexpr const char* kDossierCatalogue = "telecharger/assistants/Win";

inline constexpr const char* kMessageSiteInaccessible =
    "Un problème empêche d’accéder au site de Mervane.\n\nVeuillez réessayer plus tard ou nous "
    "contacter.";
inline constexpr const char* kMessageInterpretation =
    "Erreur à l’interprétation du fichier de configuration.";

enum class IssueCatalogue {
    Lu,
    SiteInaccessible, // un texte n'est pas arrivé
    TropAncien,       // format plus récent que "2.1.0.0" (TropAncien est levé)
    NouvelEmporteur,  // la liste de mise à niveau répond 505 (TropAncien est levé)
    Illisible,        // arrivé, mais pas interprétable
};

// Le verdict et, hors Lu, le texte qui le décrit à l'utilisateur.
struct VerdictCatalogue {
    IssueCatalogue Issue = IssueCatalogue::Lu;
    std::string Details;
    bool EstLu() const { return Issue == IssueCatalogue::Lu; }
};

// Ce que le transport emprunte au contexte partagé.
AccesServeur AccesDuContexte(const ContexteTelechargement& ctx);
// Le serveur de téléchargement : celui du contexte s'il est donné, sinon celui de la
// construction (ou de EMPORTEUR_SERVEUR).
std::string ServeurDuContexte(const ContexteTelechargement& ctx);

// Les trois textes, dans l'ordre, arrêt au premier échec ; alors faux, et la
// description que le transport a laissée dans `erreur`.
bool TelechargerConfiguration(ContexteTelechargement& ctx, std::string& recettes,
                              std::string& ingredients, std::string& boutique,
                              std::string* erreur = nullptr);
// Chemin de la mise à jour : récupère et interprète. SiteInaccessible porte
// "Erreur à la lecture du fichier de configuration :\n" et la description ;
// Illisible, kMessageInterpretation ; TropAncien, rien.
VerdictCatalogue LireCatalogue(ContexteTelechargement& ctx);
// Le texte boutique seul ; faux sans rien montrer.
bool LireBoutiqueSeule(ContexteTelechargement& ctx, std::string& boutique);
// Chemin de la mise à niveau : liste "ingredients.php?" et recettes construites.
// SiteInaccessible porte kMessageSiteInaccessible ; TropAncien et Illisible,
// kMessageInterpretation ; NouvelEmporteur, rien.
VerdictCatalogue LireCatalogueMiseANiveau(ContexteTelechargement& ctx);
// Recettes construites pour la liste de mise à niveau (exposé pour les tests).
std::string RecettesMiseANiveau(const std::string& ingredients, const std::string& titre);

// IndiceChoisi = premier élément dont Version égale VersionInstallee, sinon -1.
bool TrouverRecetteAppropriee(ContexteTelechargement& ctx);
bool EstRecetteAppropriee(const ContexteTelechargement& ctx, int index);

} // namespace emporteur
