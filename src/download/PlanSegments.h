#pragma once
// Découpage d'un fichier en segments de taille fixe (jamais stocké) : nombre
// arrondi au supérieur, dernier segment éventuellement plus court. La règle d'un
// plan utilisable est ici seulement : le téléchargement, la ligne de commande et
// l'outil CRC la consultent tous.

#include "commun/Ingredient.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace emporteur {

// Un segment est tenu entier en mémoire : sa taille est bornée.
inline constexpr std::uint32_t kTailleSegmentMax = 64u * 1024 * 1024;

// Premier défaut d'un plan, dans l'ordre où le téléchargement les signale.
enum class DefautPlan {
    Aucun,
    TailleNulle,      // taille ou taille de segment nulle ("Erreur code 1.")
    NombreCrcs,       // pas exactement une valeur CRC par segment ("Erreur code 2.")
    SegmentTropGrand, // taille de segment au-delà de kTailleSegmentMax
};

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
    // Segment qui contient l'octet `position` (Nombre() au-delà du fichier).
    std::uint32_t SegmentDe(std::uint64_t position) const;

    DefautPlan Defaut(std::size_t nombreCrcs) const;
    bool EstUtilisable(std::size_t nombreCrcs) const {
        return Defaut(nombreCrcs) == DefautPlan::Aucun;
    }

  private:
    std::uint32_t taille_;
    std::uint32_t tailleSegment_;
    std::uint32_t nombre_;
};

// Taille de segment que le téléchargement accepte : 1 … kTailleSegmentMax.
bool TailleSegmentAdmise(std::uint32_t tailleSegment);

// La limite dite en français : "de 1 à 67108864 octets (64 Mio)".
std::string TexteLimiteSegment();

} // namespace emporteur
