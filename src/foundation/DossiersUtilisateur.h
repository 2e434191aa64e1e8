#pragma once
// Dossiers du système et de l'utilisateur, et chemin du programme. Sous Windows, les
// dossiers connus du système (posix/ : les variables XDG). Chemins en UTF-8 ; vides si
// introuvables.

#include <string>

namespace emporteur {

// Données d'application itinérantes : %APPDATA% ; $XDG_DATA_HOME, sinon ~/.local/share.
std::string DossierDonneesApplication();
// Données locales à la machine (verrous, états) : %LOCALAPPDATA% ; $XDG_STATE_HOME,
// sinon ~/.local/state.
std::string DossierDonneesLocales();
// Réglages de l'utilisateur : %APPDATA% ; $XDG_CONFIG_HOME, sinon ~/.config.
std::string DossierConfigurationUtilisateur();
// Le « dossier Windows » : celui du système ; premier dossier de $XDG_CONFIG_DIRS,
// sinon /etc/xdg.
std::string DossierSysteme();
// Le bureau : dossier connu du système ; XDG_DESKTOP_DIR de user-dirs.dirs, sinon ~/Desktop.
std::string DossierBureau();
// Chemin de l'exécutable courant (GetModuleFileNameW, /proc/self/exe).
std::string CheminProgramme();

} // namespace emporteur
