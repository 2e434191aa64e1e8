#pragma once
// La liste de mandataires donnée à la session WinINet pour un mandataire nommé :
// "http=http://serveur:port" ; vide sans mandataire (accès préconfiguré du système).

#include "commun/ParametresConnexion.h"

#include <string>

namespace emporteur {

std::string ListeMandataire(const ParametresConnexion& connexion);

} // namespace emporteur
