#pragma once
// Écriture dans la ruche machine, en lecture seule pour le programme : le temps de
// l'écriture, son fichier est désigné comme celui de l'utilisateur ; sous Windows, dans
// la ruche détournée d'EnvironnementIsole.

#include "foundation/Registre.h"

#include <cstdint>
#include <string>

namespace emporteur::test {

CodeWin32 EcrireTexteMachine(const std::string& cle, const std::string& nom,
                             const std::string& texte);
CodeWin32 EcrireValeurMachine(const std::string& cle, const std::string& nom, std::uint32_t type,
                              const std::string& octets);

} // namespace emporteur::test
