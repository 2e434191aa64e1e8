#pragma once
// Dossiers du système et de l'utilisateur (XDG), et chemin du programme.

#include <string>

namespace emporteur {

// $XDG_DATA_HOME, sinon ~/.local/share ; vide si introuvable.
std::string DossierDonneesApplication();
// $XDG_CONFIG_HOME, sinon ~/.config ; vide si introuvable.
std::string DossierConfigurationUtilisateur();
// Premier dossier de $XDG_CONFIG_DIRS, sinon /etc/xdg (le « dossier Windows »).
std::string DossierSysteme();
// XDG_DESKTOP_DIR de user-dirs.dirs, sinon ~/Desktop.
std::string DossierBureau();
// Chemin de l'exécutable courant (/proc/self/exe) ; vide en cas d'échec.
std::string CheminProgramme();

} // namespace emporteur
