#include "app/ContexteTelechargement.h"

namespace emporteur {

namespace {
ContexteTelechargement* courant = nullptr;
}

ContexteTelechargement::ContexteTelechargement(ModeExecution mode, InterfaceUtilisateur& interface)
    : ModeDiscret(mode == ModeExecution::MajDiscrete), Interface(interface) {
    courant = this;
}

ContexteTelechargement::~ContexteTelechargement() {
    // Les recettes partent avant le mandataire et les textes.
    Recettes.clear();
    if (courant == this) courant = nullptr;
}

Recette* ContexteTelechargement::RecetteChoisie() const {
    if (IndiceChoisi < 0 || static_cast<std::size_t>(IndiceChoisi) >= Recettes.size())
        return nullptr;
    return Recettes[static_cast<std::size_t>(IndiceChoisi)].get();
}

ContexteTelechargement* Contexte() {
    return courant;
}

} // namespace emporteur
