#include "app/ContexteTelechargement.h"

namespace emporteur {

namespace {
ContexteTelechargement* courant = nullptr;
}

ContexteTelechargement::ContexteTelechargement(ModeExecution mode,
                                               InterfaceUtilisateur& interface)
    : ModeDiscret(mode == ModeExecution::MajDiscrete), Interface(interface) {
    courant = this;
}

ContexteTelechargement::~ContexteTelechargement() {
    // Recettes d'abord, puis le mandataire, puis les textes (ordre des membres inversé
    // pour le reste) : on vide la liste explicitement pour respecter l'ordre.
    Recettes.clear();
    if (courant == this)
        courant = nullptr;
}

Recette* ContexteTelechargement::RecetteChoisie() const {
    if (IndiceChoisi < 0 || static_cast<std::size_t>(IndiceChoisi) >= Recettes.size())
        return nullptr;
    return Recettes[static_cast<std::size_t>(IndiceChoisi)].get();
}

ContexteTelechargement* Contexte() { return courant; }

} // namespace emporteur
