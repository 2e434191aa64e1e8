#pragma once
// Relevé de progression partagé entre le fil de travail et la page (ou la
// console) : nombres, textes et drapeau de fin sous le verrou de données, lus d'un
// seul coup par Lire pour que la page n'affiche jamais un mélange de deux instants.

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace emporteur {

class Progression {
  public:
    // Ce que la page affiche, copié sous un seul verrou.
    struct Releve {
        std::int32_t PourcentageSegment = 0;
        std::int32_t PourcentageTotal = 0;
        std::uint64_t OctetsRestants = 0;
        std::string TempsRestant;
        bool JournalChange = false; // sinon Journal est vide : garder sa copie précédente
        std::string Journal;        // le journal entier, s'il a changé
        bool Fini = false;          // vrai : le journal de ce relevé est complet
        std::uint64_t OctetsPresents = 0; // segments trouvés valides sur le disque
    };

    // Ce qu'un fichier a demandé au réseau et trouvé sur le disque.
    struct BilanFichier {
        std::uint32_t SegmentsRecus = 0;
        std::uint32_t SegmentsPresents = 0;
        std::uint64_t OctetsRecus = 0;
        double Secondes = 0;
    };

    virtual ~Progression() = default;

    // Ajoute `texte` au journal, suivi de "\r\n" si `finDeLigne`.
    void AjouterMessage(const std::string& texte, bool finDeLigne = true);

    // Écritures du fil de travail.
    void FixerPourcentages(std::int32_t segment, std::int32_t total);
    void FixerRestant(std::uint64_t octets, const std::string& temps);
    // Dernier geste de l'exécution.
    void Terminer();

    // Bilan par fichier : un bilan chronométré de plus, puis chaque segment vérifié,
    // reçu ou déjà présent, y est compté.
    void CommencerFichier();
    void CompterSegment(std::uint32_t index, bool recu, std::uint64_t octets);
    void TerminerFichier();
    std::vector<BilanFichier> Bilans() const;

    // Lecture de la page. `versionJournalConnue` : 0 au premier appel, puis la valeur
    // que l'appel précédent y a laissée ; le journal n'est copié que s'il a changé.
    Releve Lire(std::uint64_t& versionJournalConnue) const;

    // Copie du journal entier.
    std::string Journal() const;
    bool EstFini() const;

    // Tenu par le fil de travail pendant toute l'exécution.
    std::timed_mutex& VerrouExecution() { return execution_; }

  private:
    mutable std::mutex donnees_;
    std::timed_mutex execution_;
    bool fini_ = false;
    std::int32_t pourcentageSegment_ = 0;
    std::int32_t pourcentageTotal_ = 0;
    std::uint64_t restant_ = 0;
    std::string journal_;
    std::uint64_t versionJournal_ = 0; // change à chaque ajout
    std::string tempsRestant_;
    std::uint64_t octetsPresents_ = 0;
    std::vector<BilanFichier> bilans_;
    std::vector<bool> recusFichier_; // segments du fichier en cours déjà comptés reçus
    std::chrono::steady_clock::time_point debutFichier_;
};

} // namespace emporteur
