#pragma once
// Issue d'une lecture de plage : octets reçus, échec à reprendre, ou échec définitif ;
// avec le nombre d'octets reçus et le dernier statut HTTP (0 si aucun).

#include <cstdint>

namespace emporteur {

enum class CodeTransfert { Reussi = 0, Reprendre = 1, Abandon = 2 };

struct ResultatTransfert {
    CodeTransfert Code = CodeTransfert::Abandon;
    std::uint32_t Octets = 0;
    std::int32_t Statut = 0;
};

} // namespace emporteur
