#include "commun/ClesPubliques.h"

namespace emporteur {

const std::vector<std::string>& ClesPubliquesIntegrees() {
    static const std::vector<std::string> cles = {
#include "ClesPubliquesIntegrees.inc"
    };
    return cles;
}

const char* DateConstruction() {
    return EMPORTEUR_DATE_CONSTRUCTION;
}

std::string EtatSignatures() {
    const std::size_t n = ClesPubliquesIntegrees().size();
    if (n == 0) return "signatures : non vérifiées";
    return "signatures : vérifiées (" + std::to_string(n) + (n > 1 ? " clés)" : " clé)");
}

} // namespace emporteur
