#pragma once
// Relance de l'exécutable de test dans un second processus : l'enfant ne joue qu'un
// test (--gtest_filter) et reçoit sa consigne par la variable EMPORTEUR_ENFANT. Hors
// d'un enfant, ces tests-là ne font rien.

#include <string>

namespace emporteur::test {

// Lance `programme` (ce même exécutable s'il est vide) sur le seul test `test`, avec la
// consigne ; rend son code de sortie, -1 si le lancement échoue ou ne finit pas en 120 s.
int LancerEnfant(const std::string& test, const std::string& consigne,
                 const std::string& programme = {});
// Lance une ligne de commande (programme cherché dans le PATH) ; rend son code de sortie,
// -1 si le lancement échoue ou ne finit pas en 120 s.
int LancerCommande(const std::string& ligne);
// La consigne reçue ; vide hors d'un enfant.
std::string Consigne();
// Le chemin de cet exécutable, en UTF-8.
std::string CetExecutable();

} // namespace emporteur::test
