#include "download/DecoupageSuite.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace emporteur {

DecoupageSuite::DecoupageSuite(const PlanSegments& plan, std::uint32_t premier, std::uint32_t fin,
                               std::vector<char>& tampon, SurSegment surSegment)
    : plan_(plan), premier_(premier), fin_(std::max(premier, fin)), courant_(premier),
      tampon_(tampon), surSegment_(std::move(surSegment)) {}

std::uint64_t DecoupageSuite::Longueur() const {
    if (fin_ == premier_) return 0;
    return plan_.Debut(fin_ - 1) + plan_.Longueur(fin_ - 1) - plan_.Debut(premier_);
}

void DecoupageSuite::Recommencer(std::uint32_t premier, std::uint32_t fin,
                                 std::function<bool(std::uint32_t)> voulu) {
    premier_ = courant_ = premier;
    fin_ = std::max(premier, fin);
    recus_ = 0;
    voulu_ = std::move(voulu);
}

bool DecoupageSuite::Recevoir(const char* octets, std::size_t n) {
    while (n > 0) {
        if (courant_ >= fin_) return false;
        const std::uint32_t longueur = plan_.Longueur(courant_);
        const auto pris = static_cast<std::uint32_t>(std::min<std::size_t>(n, longueur - recus_));
        if (recus_ == 0) garde_ = !voulu_ || voulu_(courant_);
        if (!garde_) { // segment déjà bon : ses octets passent sans être gardés
            recus_ += pris;
            if (recus_ == longueur) {
                ++courant_;
                recus_ = 0;
            }
            octets += pris;
            n -= pris;
            continue;
        }
        bool complet = false;
        const char* segment = octets;
        if (recus_ == 0 && pris == longueur) {
            complet = true; // entier dans ce morceau : jugé sur place, sans copie
        } else {
            if (tampon_.size() < longueur) tampon_.resize(longueur);
            std::memcpy(tampon_.data() + recus_, octets, pris);
            recus_ += pris;
            complet = recus_ == longueur;
            segment = tampon_.data();
        }
        if (complet) {
            if (!surSegment_(courant_, segment, longueur)) {
                recus_ = 0;
                return false;
            }
            ++courant_;
            recus_ = 0;
        }
        octets += pris;
        n -= pris;
    }
    return true;
}

} // namespace emporteur
