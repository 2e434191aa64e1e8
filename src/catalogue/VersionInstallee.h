#pragma once
// Version du produit installé, lue dans la ressource de version de son exécutable.

#include "commun/ContexteTelechargement.h"

#include <string>

namespace emporteur {

// VersionInstallee (version de fichier a.b.c.d, vide si rien) et VersionAffichee
// ("ProductVersion", ou "aucune détectée").
void DetecterVersionInstallee(ContexteTelechargement& ctx);

// VersionInstallee, ou "0.0.0.0" si vide ; et VersionAffichee.
void VersionsInstallees(const ContexteTelechargement& ctx, std::string& version,
                        std::string& affichee);

} // namespace emporteur
