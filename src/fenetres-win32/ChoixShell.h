#pragma once
// Les dialogues du shell pour choisir un dossier ou un fichier existant (IFileOpenDialog),
// modaux sur le fil qui appelle. Rien si l'utilisateur renonce ou si le shell manque.

#include "foundation/ConstantesWin32.h"

#include <optional>
#include <string>

namespace emporteur::win32 {

// `titre` en légende ; `initial`, s'il existe, est le dossier montré d'abord.
std::optional<std::string> ChoisirDossierShell(HWND proprietaire, const std::string& titre,
                                               const std::string& initial);

// Un fichier qui existe, sans filtre ni extension par défaut.
std::optional<std::string> ChoisirFichierShell(HWND proprietaire);

} // namespace emporteur::win32
