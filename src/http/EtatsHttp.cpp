#include "http/EtatsHttp.h"

namespace emporteur {

namespace {
struct Entree {
    std::int32_t statut;
    const char* description;
    bool definitif;
};

constexpr Entree kEtats[] = {
    {403, "Le serveur refuse l'accès au fichier.", false},
    {408, "Le serveur a abandonné une demande trop lente à venir.", false},
    {410, "Le fichier a été retiré du serveur.", true},
    {416, "Le fichier du serveur est plus court que prévu.", false},
    {429, "Le serveur reçoit trop de demandes ; nouvel essai plus tard.", false},
    {500, "Le serveur a rencontré une erreur interne.", false},
    {502, "Le serveur mandataire ou la passerelle a reçu une réponse non valide.", false},
    {503, "Le serveur est momentanément indisponible.", false},
    {504, "Le serveur mandataire ou la passerelle n'a pas reçu de réponse à temps.", false},
};
} // namespace

EtatHttp DecrireEtatHttp(std::int32_t statut) {
    for (const auto& e : kEtats)
        if (e.statut == statut) return {e.description, e.definitif};
    if (statut >= 400 && statut <= 499) return {"Le serveur a refusé la demande.", false};
    if (statut >= 500 && statut <= 599) return {"Le serveur a rencontré une erreur.", false};
    return {"Une erreur inconnue s'est produite.", false};
}

} // namespace emporteur
