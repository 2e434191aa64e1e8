#pragma once
// Récupération du catalogue sur le serveur de téléchargement (mise à jour et
// mise à niveau) et choix de l'élément qui convient à la version installée.

#include "commun/ContexteTelechargement.h"
#include "http/ChargerTexte.h"

#include <cstddef>
#include <string>

namespace emporteur {

// Chaque texte du catalogue est reçu dans un tampon de cette taille.
inline constexpr std::size_t kCapaciteCatalogue = 128000;
inline constexpr const char* kDossierCatalogue = "telecharger/assistants/Win";

// Ce que le transport emprunte au contexte partagé.
AccesServeur AccesDuContexte(const ContexteTelechargement& ctx);

// Les trois textes, dans l'ordre, arrêt au premier échec. En cas d'échec hors
// mode discret, le repli sur le navigateur termine le processus.
bool TelechargerConfiguration(ContexteTelechargement& ctx, std::string& recettes,
                              std::string& ingredients, std::string& boutique);
// Chemin de la mise à jour : récupère et interprète.
bool LireCatalogue(ContexteTelechargement& ctx);
// Le texte boutique seul ; faux sans rien montrer.
bool LireBoutiqueSeule(ContexteTelechargement& ctx, std::string& boutique);
// Chemin de la mise à niveau : liste "ingredients.php?" et recettes construites.
bool LireCatalogueMiseANiveau(ContexteTelechargement& ctx);
// Recettes construites pour la liste de mise à niveau (exposé pour les tests).
std::string RecettesMiseANiveau(const std::string& ingredients, const std::string& titre);

// Repli sur le navigateur : question, ouverture éventuelle, fin du processus (code 0).
void ProposerFureteur(ContexteTelechargement& ctx, const std::string& details);
// Ouvre la page de la boutique.
void OuvrirBoutique(ContexteTelechargement& ctx);

// IndiceChoisi = premier élément dont Version égale VersionInstallee, sinon -1.
bool TrouverRecetteAppropriee(ContexteTelechargement& ctx);
bool EstRecetteAppropriee(const ContexteTelechargement& ctx, int index);

} // namespace emporteur
