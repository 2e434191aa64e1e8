#include "download/Progression.h"

namespace emporteur {

void Progression::AjouterMessage(const std::string& texte, bool finDeLigne) {
    std::lock_guard verrou(donnees_);
    journal_ += texte;
    if (finDeLigne) journal_ += "\r\n";
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

std::int32_t Progression::PourcentageSegment() const {
    std::lock_guard verrou(donnees_);
    return pourcentageSegment_;
}

std::int32_t Progression::PourcentageTotal() const {
    std::lock_guard verrou(donnees_);
    return pourcentageTotal_;
}

std::uint64_t Progression::OctetsRestants() const {
    std::lock_guard verrou(donnees_);
    return restant_;
}

std::string Progression::Journal() const {
    std::lock_guard verrou(donnees_);
    return journal_;
}

std::string Progression::TempsRestant() const {
    std::lock_guard verrou(donnees_);
    return tempsRestant_;
}

} // namespace emporteur
