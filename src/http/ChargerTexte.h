#pragma once
// Lecture d'une petite ressource texte entière (les catalogues) : vrai et les octets
// bruts dans `texte`, ou faux et la description de l'échec dans `texte`. Un texte
// qui remplirait toute la capacité est un échec, jamais un texte tronqué.

#include "commun/ParametresConnexion.h"
#include "foundation/InterfaceUtilisateur.h"

#include <cstddef>
#include <string>

namespace emporteur {

// Ce que la lecture emprunte à l'appelant : l'interface des questions, la discrétion
// (aucune fenêtre) et le mandataire.
struct AccesServeur {
    InterfaceUtilisateur& Interface;
    bool Discret = false;
    ParametresConnexion Connexion;
};

bool ChargerTexte(const AccesServeur& acces, const std::string& hote, const std::string& dossier,
                  const std::string& objet, std::string& texte, std::size_t capacite);

} // namespace emporteur
