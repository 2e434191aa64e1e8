#pragma once
// Découpage d'un fichier en segments de taille fixe (jamais stocké) : nombre
// arrondi au supérieur, dernier segment éventuellement plus court.

#include "commun/Ingredient.h"

#include <cstddef>
#include <cstdint>

namespace emporteur {

class PlanSegments {
  public:
    PlanSegments(std::uint32_t taille, std::uint32_t tailleSegment);
    // Taille et TailleSegment de l'ingrédient lues comme des entiers non signés.
    explicit PlanSegments(const Ingredient& ingredient);

    std::uint32_t Taille() const { return taille_; }
    std::uint32_t TailleSegment() const { return tailleSegment_; }
    // 0 si la taille de segment est nulle.
    std::uint32_t Nombre() const { return nombre_; }
    std::uint64_t Debut(std::uint32_t index) const;
    // 0 pour un index hors du plan.
    std::uint32_t Longueur(std::uint32_t index) const;
    // Taille et taille de segment non nulles, une valeur CRC par segment.
    bool EstUtilisable(std::size_t nombreCrcs) const;

  private:
    std::uint32_t taille_;
    std::uint32_t tailleSegment_;
    std::uint32_t nombre_;
};

} // namespace emporteur
