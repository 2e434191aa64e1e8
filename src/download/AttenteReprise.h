#pragma once
// Attente avant de redemander un segment après une erreur de transport ou une
// réponse d'erreur du serveur : au moins 1 s, puis au moins 2 s (l'aléa ne fait
// qu'ajouter), ou le Retry-After du serveur jusqu'à 60 s. Une courte panne du
// serveur ne consume plus le crédit de reprise en une milliseconde.

#include "http/ResultatTransfert.h"

#include <atomic>
#include <chrono>
#include <functional>

namespace emporteur {

inline constexpr std::chrono::seconds kAttenteServeurMax{60};

// Attend `duree` ou jusqu'à ce que `annule` devienne vrai ; faux si annulé.
using Sommeil =
    std::function<bool(std::chrono::milliseconds duree, const std::atomic<bool>& annule)>;

// Délai avant le prochain essai après `echecs` échecs de suite (1, 2…) ;
// `attenteServeur` en secondes (négative : pas de demande) ; `alea` dans [0, 1]
// ajoute jusqu'à un quart du délai de base.
std::chrono::milliseconds DelaiReprise(int echecs, std::int32_t attenteServeur, double alea);

// Vrai pour un échec à reprendre qui justifie d'attendre : tout sauf un refus
// d'identifiants (401, 407), où l'utilisateur vient d'être interrogé.
bool AttendreApres(const ResultatTransfert& r);

// Sommeil réel, qui regarde `annule` toutes les 10 ms.
bool SommeilAnnulable(std::chrono::milliseconds duree, const std::atomic<bool>& annule);

} // namespace emporteur
