#include "commun/ContexteTelechargement.h"

#include "commun/ClesPubliques.h"

namespace emporteur {

ContexteTelechargement::ContexteTelechargement(ModeExecution mode, InterfaceUtilisateur& ui)
    : ModeDiscret(mode == ModeExecution::MajDiscrete), ClesPubliques(ClesPubliquesIntegrees()),
      Interface(ui) {}

ContexteTelechargement::~ContexteTelechargement() {
    // Les recettes partent avant le mandataire et les textes.
    Recettes.clear();
}

Recette* ContexteTelechargement::RecetteChoisie() const {
    if (IndiceChoisi < 0 || static_cast<std::size_t>(IndiceChoisi) >= Recettes.size())
        return nullptr;
    return Recettes[static_cast<std::size_t>(IndiceChoisi)].get();
}

} // namespace emporteur
