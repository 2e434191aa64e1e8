#pragma once
// Découpe les octets d'une suite de segments consécutifs, reçus dans l'ordre d'une
// seule réponse, en segments entiers : chaque segment est remis à `surSegment` dès
// son dernier octet. Un segment refusé reste le segment courant ; la réception
// s'arrête là. Un seul segment en mémoire à la fois (le tampon de l'appelant).

#include "download/PlanSegments.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace emporteur {

class DecoupageSuite {
  public:
    // Vrai : le segment est accepté et la réception continue.
    using SurSegment =
        std::function<bool(std::uint32_t index, const char* octets, std::uint32_t longueur)>;

    // Segments [premier, fin) de `plan` ; `tampon` grandit au besoin jusqu'à un segment.
    DecoupageSuite(const PlanSegments& plan, std::uint32_t premier, std::uint32_t fin,
                   std::vector<char>& tampon, SurSegment surSegment);

    // Repart d'un corps qui commence au segment `premier` (un serveur qui ignore les
    // plages envoie tout depuis l'octet 0) : seuls les segments que `voulu` désigne,
    // demandé une fois au début de chacun, sont remis ; la réception s'arrête après
    // le segment fin − 1.
    void Recommencer(std::uint32_t premier, std::uint32_t fin,
                     std::function<bool(std::uint32_t index)> voulu);

    // Faux si un segment est refusé ou si des octets dépassent la suite.
    bool Recevoir(const char* octets, std::size_t n);

    // Octets de la suite, du début du premier segment à la fin du dernier.
    std::uint64_t Longueur() const;
    // Premier segment pas encore accepté (`fin` quand tout l'est).
    std::uint32_t Courant() const { return courant_; }
    std::uint32_t Acceptes() const { return courant_ - premier_; }
    bool Complete() const { return courant_ == fin_; }
    // Octets reçus du segment courant, et sa longueur prévue.
    std::uint32_t RecusCourant() const { return recus_; }
    std::uint32_t LongueurCourant() const { return plan_.Longueur(courant_); }

  private:
    const PlanSegments& plan_;
    std::uint32_t premier_, fin_, courant_;
    std::uint32_t recus_ = 0;
    bool garde_ = true; // le segment courant est voulu
    std::function<bool(std::uint32_t)> voulu_;
    std::vector<char>& tampon_;
    SurSegment surSegment_;
};

} // namespace emporteur
