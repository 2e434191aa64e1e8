#include "catalogue/IndexIngredients.h"
#include "catalogue/InterpreterCatalogue.h"
#include "catalogue/SyntaxeCatalogue.h"
#include "outils/DossierTemporaire.h"
#include "outils/InterfaceEnregistreuse.h"

#include <gtest/gtest.h>

#include <random>

namespace emporteur {
namespace {

// La recherche d'origine : la première ligne du texte dont la clé commence par le préfixe.
std::string PremiereLigneParBalayage(std::string_view texte, std::string_view prefixe) {
    std::string trouvee;
    PourChaqueLigne(texte, [&](std::string_view ligne) {
        if (ExtraireValeur(ligne, "cle=").compare(0, prefixe.size(), prefixe) != 0) return true;
        trouvee = std::string(ligne);
        return false;
    });
    return trouvee;
}

TEST(IndexIngredients, MemeLigneQueLeBalayageSurDesClesAuHasard) {
    const unsigned graine = std::random_device{}();
    SCOPED_TRACE("graine " + std::to_string(graine));
    std::mt19937 alea(graine);
    // Peu de lettres : beaucoup de préfixes communs, de doublons et de clés vides.
    const auto cle = [&](std::size_t longueurMax) {
        std::string c;
        for (std::size_t n = alea() % (longueurMax + 1); n > 0; --n)
            c += static_cast<char>('a' + alea() % 3);
        return c;
    };
    std::string texte;
    for (int i = 0; i < 300; ++i)
        texte += (i % 17 == 0 ? "# commentaire\n" : "") + std::string("cle=\"") + cle(5) +
                 "\" taille=\"" + std::to_string(i) + "\"\n";
    const IndexIngredients index(texte);
    for (int i = 0; i < 500; ++i) {
        const std::string prefixe = cle(6);
        const auto trouvee = index.Chercher(prefixe);
        EXPECT_EQ(trouvee ? std::string(trouvee->Ligne) : std::string(),
                  PremiereLigneParBalayage(texte, prefixe))
            << "préfixe « " << prefixe << " »";
    }
}

// Cent mille clés : chaque recette retrouve son fichier (la lecture ligne à ligne
// de l'index complet par clé prenait des minutes).
TEST(IndexIngredients, GrandCatalogueLuEnEntier) {
    test::EnvironnementIsole env;
    test::InterfaceEnregistreuse ui;
    ContexteTelechargement ctx{ModeExecution::Ordinaire, ui};
    constexpr int kCles = 100000;
    std::string recettes = "2.1.0.0\n", ingredients = "2.1.0.0\n";
    for (int i = kCles - 1; i >= 0; --i) {
        const std::string n = std::to_string(i);
        recettes += " ver=\"" + n + "\" cles=\"k" + n + "x\"\n";
        ingredients += "cle=\"k" + n + "x\" fichierdistant=\"f" + n + ".bin\" taille=\"1\" "
                       "tailleseg=\"1\" crc=\"" + n + "\"\n";
    }
    ASSERT_TRUE(InterpreterCatalogue(ctx, recettes, ingredients, ""));
    ASSERT_EQ(ctx.Recettes.size(), static_cast<std::size_t>(kCles));
    for (int i : {0, 1, 4242, kCles - 1}) {
        const Recette& r = *ctx.Recettes[static_cast<std::size_t>(kCles - 1 - i)];
        ASSERT_EQ(r.Fichiers.size(), 1u);
        EXPECT_EQ(r.Fichiers[0]->NomDistant, "f" + std::to_string(i) + ".bin");
    }
}

} // namespace
} // namespace emporteur
