#include "download/DescripteurFichier.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace emporteur {

namespace {
constexpr std::size_t kTamponCopie = 1u << 20;
} // namespace

DescripteurFichier::~DescripteurFichier() {
    if (EstOuvert()) Liberer(poignee_);
}

DescripteurFichier::DescripteurFichier(DescripteurFichier&& autre) noexcept
    : poignee_(std::exchange(autre.poignee_, kFermee)) {}

DescripteurFichier& DescripteurFichier::operator=(DescripteurFichier&& autre) noexcept {
    if (this != &autre) {
        if (EstOuvert()) Liberer(poignee_);
        poignee_ = std::exchange(autre.poignee_, kFermee);
    }
    return *this;
}

DescripteurFichier DescripteurFichier::OuvrirLecture(const std::string& chemin) {
    return OuvrirLectureAvec(chemin, false);
}

DescripteurFichier DescripteurFichier::OuvrirLectureSansLien(const std::string& chemin) {
    return OuvrirLectureAvec(chemin, true);
}

// Lecture puis écriture par morceaux d'au plus 1 Mio : la mémoire ne suit pas `n`.
std::int64_t CopierPlageParTampon(const DescripteurFichier& source, std::uint64_t positionSource,
                                  DescripteurFichier& cible, std::uint64_t positionCible,
                                  std::uint64_t n) {
    const std::size_t taille = static_cast<std::size_t>(std::min<std::uint64_t>(n, kTamponCopie));
    std::unique_ptr<unsigned char[]> tampon(new unsigned char[std::max<std::size_t>(taille, 1)]);
    std::uint64_t fait = 0;
    while (fait < n) {
        const std::size_t morceau =
            static_cast<std::size_t>(std::min<std::uint64_t>(n - fait, taille));
        const std::int64_t lu = source.LireA(tampon.get(), morceau, positionSource + fait);
        if (lu < 0) return -1;
        if (lu > 0 &&
            !cible.EcrireA(tampon.get(), static_cast<std::size_t>(lu), positionCible + fait))
            return -1;
        fait += static_cast<std::uint64_t>(lu);
        if (static_cast<std::size_t>(lu) < morceau) break;
    }
    return static_cast<std::int64_t>(fait);
}

} // namespace emporteur
