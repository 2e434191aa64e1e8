#pragma once
// Les délais du transport, fixés ici seulement : connexion 60 s ; moins d'un octet
// par seconde pendant 30 s (blocage) ou moins de 1 Kio/s pendant 60 s (lenteur) font
// échouer le transfert (erreur à reprendre). EMPORTEUR_DELAI_CONNEXION,
// EMPORTEUR_DELAI_BLOCAGE, EMPORTEUR_DELAI_LENTEUR (secondes) et
// EMPORTEUR_VITESSE_MINIMALE (octets par seconde) les changent.

namespace emporteur {

struct DelaisReseau {
    long Connexion = 60;
    long Blocage = 30;
    long Lenteur = 60;
    long VitesseMinimale = 1024;
};

DelaisReseau LireDelaisReseau();

} // namespace emporteur
