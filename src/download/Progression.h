#pragma once
// Relevé de progression partagé entre le fil de travail et la page (ou la
// console) : nombres et journal sous le verrou de données, drapeau de fin atomique.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

namespace emporteur {

class Progression {
  public:
    virtual ~Progression() = default;

    // Ajoute `texte` au journal, suivi de "\r\n" si `finDeLigne`.
    void AjouterMessage(const std::string& texte, bool finDeLigne = true);

    // Écritures du fil de travail.
    void FixerPourcentages(std::int32_t segment, std::int32_t total);
    void FixerRestant(std::uint64_t octets, const std::string& temps);
    void Terminer() { fini_.store(true); }

    // Lectures de la page : copies courtes sous le verrou.
    std::int32_t PourcentageSegment() const;
    std::int32_t PourcentageTotal() const;
    std::uint64_t OctetsRestants() const;
    std::string Journal() const;
    std::string TempsRestant() const;
    bool EstFini() const { return fini_.load(); }

    // Tenu par le fil de travail pendant toute l'exécution.
    std::timed_mutex& VerrouExecution() { return execution_; }

  private:
    mutable std::mutex donnees_;
    std::timed_mutex execution_;
    std::atomic<bool> fini_{false};
    std::int32_t pourcentageSegment_ = 0;
    std::int32_t pourcentageTotal_ = 0;
    std::uint64_t restant_ = 0;
    std::string journal_;
    std::string tempsRestant_;
};

} // namespace emporteur
