#pragma once
// Un élément offert par le catalogue : une mise à jour pour une version
// installée, ou un fichier d'une mise à niveau.

#include "commun/EnsembleFichiers.h"

#include <string>

namespace emporteur {

class Recette : public EnsembleFichiers {
  public:
    std::string Description; // libellé de la liste ; vide = non listé
    std::string Version;     // version installée visée, a.b.c.d
    std::string VersionMaj;  // version qu'apporte la mise à jour
    std::string Titre;       // rubrique de la liste
    std::string Produit;     // produit nommé dans l'avis
};

} // namespace emporteur
