#pragma once
// Le programme à fenêtres installé à côté de celui-ci, lancé à sa place.

#include <optional>
#include <string>

namespace emporteur::cli {

// Lance `emporteur MOT` (emporteur.exe sous Windows) du dossier de ce programme ;
// `serveur`, s'il est donné, devient son EMPORTEUR_SERVEUR sans toucher à notre
// environnement. Linux : le processus est remplacé, rien ne revient sauf un échec.
// Windows : rend le code de sortie du programme lancé. Échec : message sur stderr, 127.
int LancerEmporteurVoisin(const std::string& mot, const std::optional<std::string>& serveur);

} // namespace emporteur::cli
