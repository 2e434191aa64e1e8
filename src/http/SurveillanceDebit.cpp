#include "http/SurveillanceDebit.h"

namespace emporteur {

void SurveillanceDebit::Recommencer(Instant debut) {
    releves_.clear();
    releves_.push_back({debut, 0});
}

bool SurveillanceDebit::TropLent(Instant maintenant, std::uint64_t recus) {
    using std::chrono::seconds;
    // Compteur revenu en arrière (nouvelle réponse dans la même requête) : on repart.
    if (releves_.empty() || recus < releves_.back().recus) Recommencer(maintenant);
    if (maintenant - releves_.back().instant >= seconds(1)) releves_.push_back({maintenant, recus});
    // Le plus ancien relevé gardé est le dernier d'avant la fenêtre : elle reste pleine.
    const auto limite = maintenant - seconds(duree_);
    while (releves_.size() >= 2 && releves_[1].instant <= limite)
        releves_.pop_front();
    const Releve& debut = releves_.front();
    if (maintenant - debut.instant < seconds(duree_)) return false;
    const auto attendu = static_cast<std::uint64_t>(vitesse_) * static_cast<std::uint64_t>(duree_);
    return recus - debut.recus < attendu;
}

std::string SurveillanceDebit::Description() const {
    const std::string vitesse = vitesse_ % 1024 == 0 ? std::to_string(vitesse_ / 1024) + " Kio/s"
                                                     : std::to_string(vitesse_) + " octets/s";
    return "Transfert trop lent : moins de " + vitesse + " pendant " + std::to_string(duree_) +
           " s.";
}

} // namespace emporteur
