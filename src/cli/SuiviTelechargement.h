#pragma once
// Exécute la tâche sur son fil comme la page de téléchargement : relevé toutes les
// 50 ms, journal et progression sur stderr, bilan sur stdout, Ctrl-C → Annuler.

#include "cli/BilanConsole.h"
#include "commun/EnsembleFichiers.h"
#include "foundation/InterfaceUtilisateur.h"

namespace emporteur::cli {

// Code du fil (0, 1, 2), ou 128 + le signal après un arrêt (130, 143, 129).
int SuivreTelechargement(EnsembleFichiers& ensemble, InterfaceUtilisateur& ui,
                         const OptionsSuivi& options = {});

} // namespace emporteur::cli
