#pragma once
// Interprétation des trois textes du catalogue en éléments offerts.

#include "commun/ContexteTelechargement.h"

#include <string>
#include <string_view>

namespace emporteur {

// Ligne de format que doivent porter les recettes et les ingrédients.
inline constexpr std::string_view kFormatCatalogue = "2.1.0.0";

// Reconstruit ctx.Recettes. Faux si une clé est vide ou ne nomme aucun ingrédient
// (les recettes déjà ajoutées restent), ou si le format est trop récent
// (TropAncien est alors levé ; rien n'est montré). Les recettes et ingrédients
// sont rendus sans leur première ligne.
bool InterpreterCatalogue(ContexteTelechargement& ctx, std::string& recettes,
                          std::string& ingredients, const std::string& boutique);

// Ajoute à `recette` l'ingrédient de la première ligne dont la clé commence par
// `cle` ("*" final : à lancer). Faux si aucune ligne ne correspond ou clé vide.
bool AjouterIngredient(std::string_view ingredients, std::string_view cle, Recette& recette);
// La même recherche dans un index déjà fait (une recette de nombreuses clés).
class IndexIngredients;
bool AjouterIngredient(const IndexIngredients& ingredients, std::string_view cle,
                       Recette& recette);

// MajeurBoutique et ProduitBoutique d'après la première ligne "Orthalis".
bool LireBoutique(ContexteTelechargement& ctx, std::string_view boutique);

// Description ("des=") de la dernière ligne "Orthalis" du texte boutique.
bool TitreMiseANiveau(std::string_view boutique, std::string& description);

// Vrai quand MajeurBoutique dépasse le majeur de la version installée.
bool MiseANiveauOfferte(const ContexteTelechargement& ctx);

// Dossier de destination par défaut : bureau + "Mervane_Téléchargement".
std::string DossierParDefaut();

} // namespace emporteur
