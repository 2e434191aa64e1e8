#pragma once
// Un Orthalis installé pour les tests : l'exécutable de version 6.1.0.12 (fixture
// faite par windres) copié sous le nom "Orthal32.exe" dans un dossier que le
// registre de l'utilisateur désigne ; et la lecture du mandataire mémorisé.

#include "outils/DossierTemporaire.h"

#include <cstdint>
#include <string>

namespace emporteur::test {

inline constexpr const char* kVersionFixture = "6.1.0.12";
inline constexpr const char* kAfficheeFixture = "Orthalis 6.1 (build 1234)";

// Rend le dossier d'installation (sans barre finale). `avecExecutable` faux : le
// dossier existe et le registre le nomme, mais l'exécutable manque.
std::string InstallerProduit(const EnvironnementIsole& env, bool avecExecutable = true);

// Le mandataire mémorisé : "Serveur" et "Port" ; faux si la clé ou une valeur manque.
bool LireProxyMemorise(std::string& serveur, std::uint32_t& port);
// Pose un mandataire mémorisé, pour voir qu'il est bien réécrit.
void MemoriserProxy(const std::string& serveur, std::uint32_t port);

// Un port de 127.0.0.1 où plus rien n'écoute.
int PortFerme();

} // namespace emporteur::test
