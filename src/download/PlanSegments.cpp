#include "download/PlanSegments.h"

namespace emporteur {

PlanSegments::PlanSegments(std::uint32_t taille, std::uint32_t tailleSegment)
    : taille_(taille), tailleSegment_(tailleSegment),
      nombre_(tailleSegment == 0
                  ? 0
                  : taille / tailleSegment + (taille % tailleSegment != 0 ? 1u : 0u)) {}

PlanSegments::PlanSegments(const Ingredient& ingredient)
    : PlanSegments(static_cast<std::uint32_t>(ingredient.Taille),
                   static_cast<std::uint32_t>(ingredient.TailleSegment)) {}

std::uint64_t PlanSegments::Debut(std::uint32_t index) const {
    return std::uint64_t{index} * tailleSegment_;
}

std::uint32_t PlanSegments::Longueur(std::uint32_t index) const {
    if (index >= nombre_) return 0;
    const std::uint64_t reste = taille_ - Debut(index);
    return reste < tailleSegment_ ? static_cast<std::uint32_t>(reste) : tailleSegment_;
}

std::uint32_t PlanSegments::SegmentDe(std::uint64_t position) const {
    if (tailleSegment_ == 0 || position >= taille_) return nombre_;
    return static_cast<std::uint32_t>(position / tailleSegment_);
}

DefautPlan PlanSegments::Defaut(std::size_t nombreCrcs) const {
    if (taille_ == 0 || tailleSegment_ == 0) return DefautPlan::TailleNulle;
    if (nombreCrcs != nombre_) return DefautPlan::NombreCrcs;
    if (!TailleSegmentAdmise(tailleSegment_)) return DefautPlan::SegmentTropGrand;
    return DefautPlan::Aucun;
}

bool TailleSegmentAdmise(std::uint32_t tailleSegment) {
    return tailleSegment >= 1 && tailleSegment <= kTailleSegmentMax;
}

std::string TexteLimiteSegment() {
    return "de 1 à " + std::to_string(kTailleSegmentMax) + " octets (64 Mio)";
}

} // namespace emporteur
