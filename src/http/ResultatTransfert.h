#pragma once
// Issue d'une lecture de plage : octets reçus, échec à reprendre, ou échec définitif ;
// avec le nombre d'octets reçus, le dernier statut HTTP (0 si aucun) et l'attente
// demandée par le serveur (Retry-After, en secondes ; -1 sans demande).

#include <cstdint>

namespace emporteur {

enum class CodeTransfert { Reussi = 0, Reprendre = 1, Abandon = 2 };

struct ResultatTransfert {
    CodeTransfert Code = CodeTransfert::Abandon;
    std::uint32_t Octets = 0;
    std::int32_t Statut = 0;
    std::int32_t AttenteServeur = -1;
};

} // namespace emporteur
