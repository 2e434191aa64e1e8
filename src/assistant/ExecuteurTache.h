#pragma once
// L'exécution de la tâche de téléchargement, la même pour tous les frontaux (console,
// Qt, un frontal Windows) : la tâche part sur son fil, l'affichage lit un relevé toutes
// les kPeriodeReleve, l'annulation attend la fin du fil sur une variable de condition
// (réveillée dès que le fil rend son code), et le fil est toujours joint avant que la
// tâche soit détruite.
//
// Fils. Tout s'appelle depuis un seul fil, celui du frontal ; seul le fil de travail
// propre à l'exécuteur touche la tâche en plus. Pendant une attente qui suit une
// demande d'arrêt, les questions que le fil de travail pose encore sont refusées
// (InterfaceUtilisateur::RefuserQuestionsEnAttente), pour ne jamais s'attendre l'un l'autre.

#include "commun/EnsembleFichiers.h"
#include "download/Progression.h"
#include "foundation/InterfaceUtilisateur.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace emporteur {

class TacheTelechargement;

class ExecuteurTache {
  public:
    static constexpr std::chrono::milliseconds kPeriodeReleve{50};
    static constexpr std::chrono::milliseconds kAttenteAnnulation{10000};

    // `ensemble` peut être nul (la tâche échoue alors à l'initialisation) ; ni l'un ni
    // l'autre ne sont possédés, et ils doivent survivre à l'exécuteur. `connexions` :
    // requêtes en vol au plus par fichier.
    ExecuteurTache(EnsembleFichiers* ensemble, InterfaceUtilisateur* ui,
                   int connexions = 1);
    // Demande l'arrêt d'un fil encore en cours et le joint.
    ~ExecuteurTache();
    ExecuteurTache(const ExecuteurTache&) = delete;
    ExecuteurTache& operator=(const ExecuteurTache&) = delete;

    // Lance la tâche sur son fil ; sans effet la deuxième fois.
    void Demarrer();
    bool Demarre() const { return fil_.joinable(); }

    // Le relevé du moment. Le journal entier reste ici, recopié seulement quand il a
    // changé : JournalChange dit si l'affichage doit le réécrire.
    Progression::Releve Relever();
    const std::string& Journal() const { return journal_; }

    // Demande l'arrêt sans attendre : drapeau d'annulation, transfert interrompu,
    // questions en attente refusées.
    void DemanderArret();
    bool ArretDemande() const { return arretDemande_; }
    // Attend la fin du fil `limite` au plus ; vrai s'il a rendu son code.
    bool AttendreFin(std::chrono::milliseconds limite);
    // DemanderArret puis AttendreFin(kAttenteAnnulation) ; vrai si le fil a fini.
    bool Annuler();
    // Le code du fil (0 succès, 1 échec, 2 fin inattendue), une fois qu'il a fini.
    std::optional<int> Code() const;

    // Pour les essais : l'attente de Annuler.
    void FixerAttenteAnnulation(std::chrono::milliseconds limite) { attente_ = limite; }
    TacheTelechargement& Tache() { return *tache_; }

  private:
    std::unique_ptr<TacheTelechargement> tache_;
    InterfaceUtilisateur* interface_;
    std::thread fil_;
    mutable std::mutex verrou_;
    std::condition_variable fin_;
    std::optional<int> code_; // sous verrou_
    bool arretDemande_ = false;
    std::uint64_t versionJournal_ = 0;
    std::string journal_;
    std::chrono::milliseconds attente_ = kAttenteAnnulation;
};

} // namespace emporteur
