#pragma once
// Les délais du transport, fixés ici seulement : connexion 60 s ; moins d'un octet
// par seconde pendant 30 s fait échouer le transfert (erreur à reprendre).
// EMPORTEUR_DELAI_CONNEXION et EMPORTEUR_DELAI_BLOCAGE (secondes) les raccourcissent.

namespace emporteur {

struct DelaisReseau {
    long Connexion = 60;
    long Blocage = 30;
};

DelaisReseau LireDelaisReseau();

} // namespace emporteur
