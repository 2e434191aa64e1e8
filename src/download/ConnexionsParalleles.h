#pragma once
// Les segments à recevoir d'un fichier sur plusieurs connexions : les suites à
// recevoir, les longues coupées en parts, vont chacune à une connexion libre ; chaque
// segment est vérifié et gardé dès son dernier octet. Le journal reste dans l'ordre
// des segments (les lignes d'un segment attendent celles des précédents), le crédit
// de reprise compte les échecs de toutes les connexions. Les autres connexions ne
// partent qu'après le premier octet d'une réponse à plage ; un serveur qui ignore
// les plages, ou répond 503 ou 429, ramène le fichier à une connexion.

#include "download/AttenteReprise.h"
#include "download/DemandeSuite.h"
#include "http/TransfertHttp.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace emporteur {

class TransfertsEnCours;

class ConnexionsParalleles {
  public:
    enum class Issue { Fini, Echec, Annulee };
    // Un transfert ouvert pour ce fichier, ou nullptr avec le message d'échec.
    using Ouvrir = std::function<std::unique_ptr<TransfertHttp>(std::string& message)>;
    // Octets reçus du segment en cours le plus bas et sa longueur.
    using Progres = std::function<void(std::uint32_t recus, std::uint32_t longueur)>;

    ConnexionsParalleles(CadreDemandes& cadre, int connexions, Ouvrir ouvrir,
                         TransfertsEnCours& transferts, Sommeil attendre,
                         std::function<double()> alea);
    ~ConnexionsParalleles();
    ConnexionsParalleles(const ConnexionsParalleles&) = delete;
    ConnexionsParalleles& operator=(const ConnexionsParalleles&) = delete;

    // Journalise chaque segment dans l'ordre, de « Segment 1 de n » à la fin ou à
    // l'échec.
    Issue Executer();

  private:
    using Suite = std::pair<std::uint32_t, std::uint32_t>; // [premier, fin)
    struct Connexion;

    void Decouper(int connexions);
    void Travailler(int numero);
    bool Prendre(int numero, Suite& suite);
    int Noter(int numero, Suite suite, const IssueDemande& issue, const std::string& message);
    void Arreter(std::uint32_t segment, const std::string& message);
    void SuivreProgres(int numero, std::uint32_t recus, std::uint32_t longueur);
    Issue Journaliser();

    CadreDemandes& cadre_;
    Ouvrir ouvrir_;
    TransfertsEnCours& transferts_;
    Sommeil attendre_;
    std::function<double()> alea_;
    std::vector<std::unique_ptr<Connexion>> connexions_;

    std::mutex verrou_; // tout ce qui suit
    std::condition_variable signal_;
    std::deque<Suite> file_;
    std::vector<bool> fini_;                       // segment vérifié et gardé
    std::vector<std::vector<std::string>> lignes_; // échecs en attente, par segment
    int credit_ = 3;
    int permises_;         // connexions qui peuvent encore prendre une suite
    int enCours_ = 0;      // connexions dans une requête
    bool plages_ = false;  // une réponse à plage est arrivée
    std::atomic<bool> plagesVues_{false}; // le même, lu sans verrou
    bool arret_ = false;   // échec définitif ou crédit épuisé
    std::uint32_t segmentEchec_ = 0;
    std::string messageEchec_;
    std::mutex verrouAttente_; // le sommeil prêté n'est appelé que d'un fil à la fois
};

} // namespace emporteur
