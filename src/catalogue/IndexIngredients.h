#pragma once
// Les lignes du texte des ingrédients rangées par clé : la première ligne (dans
// l'ordre du texte) dont la clé commence par un préfixe se trouve en temps
// logarithmique, si bien qu'un catalogue de cent mille clés se lit d'un trait.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace emporteur {

class IndexIngredients {
  public:
    // `ingredients` (sans sa ligne de format) doit vivre plus longtemps que l'index.
    explicit IndexIngredients(std::string_view ingredients);

    struct Trouvee {
        std::string_view Ligne;
        std::string Cle;
    };
    // La première ligne dont la clé commence par `prefixe` ; rien si aucune.
    std::optional<Trouvee> Chercher(std::string_view prefixe) const;

  private:
    struct Entree {
        std::string Cle;
        std::uint32_t Rang; // place de la ligne dans le texte
    };
    std::uint32_t RangMinimal(std::size_t debut, std::size_t fin) const;

    std::vector<std::string_view> lignes_;
    std::vector<Entree> triees_;
    // minima_[k][i] : plus petit rang de triees_[i, i + 2^k).
    std::vector<std::vector<std::uint32_t>> minima_;
};

} // namespace emporteur
