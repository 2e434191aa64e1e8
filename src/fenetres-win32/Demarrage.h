#pragma once
// Le démarrage d'emporteur.exe : « /a » (toute casse) ouvre l'outil CRC, seul ; sinon
// le contexte, l'interface Windows et le livret des cinq pages, montré modal. Rend le
// code de sortie du processus.

#include "foundation/ConstantesWin32.h"

#include <functional>
#include <string>

namespace emporteur::win32 {

// `ligne` : le texte des arguments après le nom du programme, d'un seul tenant.
// `connexion` : le test de connexion du mode discret (remplaçable en essai).
int Demarrer(const std::string& ligne, std::function<bool()> connexion = {});

} // namespace emporteur::win32
