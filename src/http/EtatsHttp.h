#pragma once
// Ce qu'un statut HTTP d'erreur veut dire pour l'utilisateur : une phrase française
// (le code numérique reste dans le message du transport) et s'il vaut la peine de
// redemander. 404 et les demandes d'identifiants sont traités à part.

#include <cstdint>
#include <string>

namespace emporteur {

struct EtatHttp {
    std::string Description;
    bool Definitif = false; // redemander ne changera rien
};

EtatHttp DecrireEtatHttp(std::int32_t statut);

} // namespace emporteur
