#pragma once
// Le réglage « connexions » : requêtes en vol au plus par fichier, 1 … 8, 1 par
// défaut ; valeur "Connexions" (REG_DWORD) sous
// HKEY_CURRENT_USER\Software\Mervane\Orthalis\Emporteur, à côté du mandataire.

#include "foundation/ConstantesWin32.h"

#include <optional>
#include <string_view>

namespace emporteur {

// Le réglage enregistré, ramené à 1 … 8 ; 1 s'il manque ou ne se lit pas.
int LireReglageConnexions();
CodeWin32 EnregistrerReglageConnexions(int connexions);

// Texte entier de 1 à 8, rien d'autre ; vide sinon.
std::optional<int> LireTexteConnexions(std::string_view texte);

} // namespace emporteur
