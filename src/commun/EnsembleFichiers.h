#pragma once
// Les fichiers qu'un téléchargement range dans un même dossier, avec les
// compteurs que la tâche tient pendant qu'elle tourne.

#include "commun/ParametresConnexion.h"
#include "commun/Ingredient.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace emporteur {

class EnsembleFichiers {
  public:
    EnsembleFichiers() = default;
    // Copie profonde : chaque Ingredient est recopié.
    EnsembleFichiers(const EnsembleFichiers& autre);
    EnsembleFichiers& operator=(const EnsembleFichiers& autre);
    EnsembleFichiers(EnsembleFichiers&&) noexcept = default;
    EnsembleFichiers& operator=(EnsembleFichiers&&) noexcept = default;
    virtual ~EnsembleFichiers() = default;

    // Ajoute, dans l'ordre, une copie de chaque Ingredient de `autre`.
    void AjouterFichiersDe(const EnsembleFichiers& autre);

    ParametresConnexion Connexion;
    // 64 bits : la somme de plusieurs fichiers peut dépasser 2 Go.
    std::uint64_t TailleTotale = 0;
    std::uint64_t TailleFaite = 0;
    std::string Dossier;
    std::vector<std::unique_ptr<Ingredient>> Fichiers;
};

} // namespace emporteur
