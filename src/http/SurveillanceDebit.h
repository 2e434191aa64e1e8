#pragma once
// Juge un transfert trop lent : moins de `vitesse` octets par seconde en moyenne sur
// les `duree` dernières secondes. Un filet d'octets échappe au délai de blocage de
// libcurl (un octet par seconde n'est jamais « rien ») ; il n'échappe pas à celui-ci.
// Garde au plus un relevé par seconde sur la fenêtre.

#include <chrono>
#include <cstdint>
#include <deque>
#include <string>

namespace emporteur {

class SurveillanceDebit {
  public:
    using Instant = std::chrono::steady_clock::time_point;

    SurveillanceDebit(long vitesse, long duree) : vitesse_(vitesse), duree_(duree) {}

    // Nouvelle requête : la fenêtre repart de `debut` avec 0 octet.
    void Recommencer(Instant debut);
    // `recus` : octets reçus depuis Recommencer. Vrai si la fenêtre entière est écoulée
    // et qu'il y est arrivé moins que vitesse × durée.
    bool TropLent(Instant maintenant, std::uint64_t recus);

    // "Transfert trop lent : moins de 1 Kio/s pendant 60 s."
    std::string Description() const;

  private:
    struct Releve {
        Instant instant;
        std::uint64_t recus;
    };
    long vitesse_, duree_;
    std::deque<Releve> releves_;
};

} // namespace emporteur
