#pragma once
// Trace du dernier avis de mise à jour, sous
// HKEY_CURRENT_USER\Software\Mervane\Orthalis\6.0\Telechargement.

#include "commun/ContexteTelechargement.h"

#include <string>

namespace emporteur {

inline constexpr const char* kCleTelechargement =
    "Software\\Mervane\\Orthalis\\6.0\\Telechargement";

// Trois champs de 20 octets (19 caractères au plus), lus au démarrage ; une valeur
// illisible (trop longue comprise) est recréée vide.
class DernierAvis {
  public:
    DernierAvis();

    std::string DerniereVerification; // jamais modifiée par ce programme
    std::string MAJ;                  // version de mise à jour annoncée
    std::string MAN;                  // majeur de la boutique annoncé
};

// Ce que NoterAvis noterait pour l'offre du contexte : MAJ = VersionMaj de l'élément
// choisi (ou VersionInstallee sans élément), coupée à 19 octets ; MAN = MajeurBoutique.
struct OffreNotee {
    std::string MAJ;
    std::string MAN;
};
OffreNotee OffreANoter(const ContexteTelechargement& ctx);

// Note OffreANoter(ctx) ; les trois valeurs sont réécrites, la clé créée au besoin.
void NoterAvis(const ContexteTelechargement& ctx, DernierAvis& avis);

} // namespace emporteur
