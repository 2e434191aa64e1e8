#include "catalogue/IndexIngredients.h"

#include "catalogue/SyntaxeCatalogue.h"

#include <algorithm>

namespace emporteur {

IndexIngredients::IndexIngredients(std::string_view ingredients) {
    PourChaqueLigne(ingredients, [&](std::string_view ligne) {
        triees_.push_back({ExtraireValeur(ligne, "cle="), static_cast<std::uint32_t>(lignes_.size())});
        lignes_.push_back(ligne);
        return true;
    });
    std::stable_sort(triees_.begin(), triees_.end(),
                     [](const Entree& a, const Entree& b) { return a.Cle < b.Cle; });
    // Table clairsemée des minima : une suite de clés de même préfixe est contiguë
    // une fois triée, la première ligne du texte est le plus petit rang de la suite.
    std::vector<std::uint32_t> niveau(triees_.size());
    for (std::size_t i = 0; i < triees_.size(); ++i)
        niveau[i] = triees_[i].Rang;
    minima_.push_back(std::move(niveau));
    for (std::size_t largeur = 2; largeur <= triees_.size(); largeur *= 2) {
        const auto& precedent = minima_.back();
        std::vector<std::uint32_t> suivant(triees_.size() - largeur + 1);
        for (std::size_t i = 0; i < suivant.size(); ++i)
            suivant[i] = std::min(precedent[i], precedent[i + largeur / 2]);
        minima_.push_back(std::move(suivant));
    }
}

std::uint32_t IndexIngredients::RangMinimal(std::size_t debut, std::size_t fin) const {
    std::size_t k = 0;
    while ((std::size_t{2} << k) <= fin - debut)
        ++k;
    return std::min(minima_[k][debut], minima_[k][fin - (std::size_t{1} << k)]);
}

std::optional<IndexIngredients::Trouvee> IndexIngredients::Chercher(std::string_view prefixe) const {
    const auto commencePar = [&](const Entree& e) {
        return e.Cle.compare(0, prefixe.size(), prefixe) == 0;
    };
    const auto debut = std::lower_bound(triees_.begin(), triees_.end(), prefixe,
                                        [](const Entree& e, std::string_view p) { return e.Cle < p; });
    const auto fin = std::partition_point(debut, triees_.end(), commencePar);
    if (debut == fin) return std::nullopt;
    const std::uint32_t rang = RangMinimal(static_cast<std::size_t>(debut - triees_.begin()),
                                           static_cast<std::size_t>(fin - triees_.begin()));
    return Trouvee{lignes_[rang], ExtraireValeur(lignes_[rang], "cle=")};
}

} // namespace emporteur
