#pragma once
// Exécute la tâche sur son fil comme la page de téléchargement : relevé toutes les
// 50 ms, progression sur stderr (terminal seulement), journal sur stdout, Ctrl-C → Annuler.

#include "commun/EnsembleFichiers.h"
#include "foundation/InterfaceUtilisateur.h"

namespace emporteur::cli {

// Code du fil (0, 1, 2), ou 130 après une annulation.
int SuivreTelechargement(EnsembleFichiers& ensemble, InterfaceUtilisateur& interface,
                         int connexions = 1);

} // namespace emporteur::cli
