#include "assistant/ExecuteurTache.h"

#include "download/TacheTelechargement.h"

namespace emporteur {

namespace {
// Après une demande d'arrêt, une question posée juste avant que la tâche se sache
// annulée peut encore attendre : l'attente se réveille à ce rythme pour la refuser.
// La fin du fil, elle, réveille l'attente à l'instant.
constexpr std::chrono::milliseconds kRefusQuestions{100};
} // namespace

ExecuteurTache::ExecuteurTache(EnsembleFichiers* ensemble, InterfaceUtilisateur* ui, int connexions)
    : tache_(std::make_unique<TacheTelechargement>(ensemble, ui, connexions)), interface_(ui) {
    // Annuler de la tâche n'attend pas : l'attente est celle de l'exécuteur, sur sa condition.
    tache_->FixerAttenteAnnulation(std::chrono::milliseconds(0));
}

ExecuteurTache::~ExecuteurTache() {
    if (!fil_.joinable()) return;
    DemanderArret();
    while (!AttendreFin(std::chrono::seconds(60))) {
    }
    fil_.join();
}

void ExecuteurTache::Demarrer() {
    if (fil_.joinable()) return;
    fil_ = std::thread([this] {
        const int code = TacheTelechargement::ProcedureFil(tache_.get());
        {
            std::lock_guard verrou(verrou_);
            code_ = code;
        }
        fin_.notify_all();
    });
}

Progression::Releve ExecuteurTache::Relever() {
    auto releve = tache_->Etat().Lire(versionJournal_);
    if (releve.JournalChange) journal_ = releve.Journal;
    return releve;
}

void ExecuteurTache::DemanderArret() {
    arretDemande_ = true;
    tache_->Annuler(); // attente nulle : drapeau, interruption, questions refusées
}

bool ExecuteurTache::AttendreFin(std::chrono::milliseconds limite) {
    if (!fil_.joinable()) return false;
    const auto echeance = std::chrono::steady_clock::now() + limite;
    std::unique_lock verrou(verrou_);
    for (;;) {
        if (code_) return true;
        const auto maintenant = std::chrono::steady_clock::now();
        if (maintenant >= echeance) return false;
        if (!arretDemande_) {
            fin_.wait_until(verrou, echeance);
            continue;
        }
        fin_.wait_until(verrou, std::min(echeance, maintenant + kRefusQuestions));
        if (code_) return true;
        verrou.unlock();
        if (interface_) interface_->RefuserQuestionsEnAttente();
        verrou.lock();
    }
}

bool ExecuteurTache::Annuler() {
    DemanderArret();
    return AttendreFin(attente_);
}

std::optional<int> ExecuteurTache::Code() const {
    std::lock_guard verrou(verrou_);
    return code_;
}

} // namespace emporteur
