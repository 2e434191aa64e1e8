#include "download/Progression.h"

namespace emporteur {

void Progression::AjouterMessage(const std::string& texte, bool finDeLigne) {
    std::lock_guard verrou(donnees_);
    journal_ += texte;
    if (finDeLigne) journal_ += "\r\n";
    ++versionJournal_;
}

void Progression::FixerPourcentages(std::int32_t segment, std::int32_t total) {
    std::lock_guard verrou(donnees_);
    pourcentageSegment_ = segment;
    pourcentageTotal_ = total;
}

void Progression::FixerRestant(std::uint64_t octets, const std::string& temps) {
    std::lock_guard verrou(donnees_);
    restant_ = octets;
    tempsRestant_ = temps;
}

void Progression::Terminer() {
    std::lock_guard verrou(donnees_);
    fini_ = true;
}

Progression::Releve Progression::Lire(std::uint64_t& versionJournalConnue) const {
    Releve releve;
    std::lock_guard verrou(donnees_);
    releve.PourcentageSegment = pourcentageSegment_;
    releve.PourcentageTotal = pourcentageTotal_;
    releve.OctetsRestants = restant_;
    releve.TempsRestant = tempsRestant_;
    releve.Fini = fini_;
    releve.OctetsPresents = octetsPresents_;
    // Version 0 : celle d'un journal qui n'a encore rien reçu, donc déjà connu (vide).
    if (versionJournal_ != versionJournalConnue) {
        releve.JournalChange = true;
        releve.Journal = journal_;
        versionJournalConnue = versionJournal_;
    }
    return releve;
}

void Progression::CommencerFichier() {
    std::lock_guard verrou(donnees_);
    bilans_.emplace_back();
    recusFichier_.clear();
    debutFichier_ = std::chrono::steady_clock::now();
}

void Progression::CompterSegment(std::uint32_t index, bool recu, std::uint64_t octets) {
    std::lock_guard verrou(donnees_);
    if (bilans_.empty()) bilans_.emplace_back();
    auto& bilan = bilans_.back();
    // Un segment reçu d'un corps entier repasse ensuite comme déjà bon : compté une fois.
    if (recusFichier_.size() <= index) recusFichier_.resize(index + 1, false);
    if (!recu && recusFichier_[index]) return;
    if (recu) recusFichier_[index] = true;
    if (recu) {
        ++bilan.SegmentsRecus;
        bilan.OctetsRecus += octets;
    } else {
        ++bilan.SegmentsPresents;
        octetsPresents_ += octets;
    }
}

void Progression::TerminerFichier() {
    std::lock_guard verrou(donnees_);
    if (bilans_.empty()) return;
    bilans_.back().Secondes =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - debutFichier_).count();
}

std::vector<Progression::BilanFichier> Progression::Bilans() const {
    std::lock_guard verrou(donnees_);
    return bilans_;
}

std::string Progression::Journal() const {
    std::lock_guard verrou(donnees_);
    return journal_;
}

bool Progression::EstFini() const {
    std::lock_guard verrou(donnees_);
    return fini_;
}

} // namespace emporteur
