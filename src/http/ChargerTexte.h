#pragma once
// Lecture d'une petite ressource texte entière (les catalogues) : vrai et les octets
// bruts dans `texte`, ou faux et la description de l'échec dans `texte`. Un texte
// qui remplirait toute la capacité est un échec, jamais un texte tronqué.

#include "app/ContexteTelechargement.h"

#include <cstddef>
#include <string>

namespace emporteur {

bool ChargerTexte(ContexteTelechargement& ctx, const std::string& hote, const std::string& dossier,
                  const std::string& objet, std::string& texte, std::size_t capacite);

} // namespace emporteur
