#include "download/ReglageConnexions.h"
#include "foundation/Registre.h"
#include "outils/DossierTemporaire.h"

#include <gtest/gtest.h>

namespace emporteur {
namespace {

// Le réglage enregistré est ramené à 1 … 8 ; absent, il vaut 1.
TEST(ReglageConnexions, EnregistreLuEtBorne) {
    test::EnvironnementIsole environnement;
    EXPECT_EQ(LireReglageConnexions(), 1);
    const std::pair<int, int> cas[] = {{4, 4}, {8, 8}, {1, 1}, {0, 1}, {-3, 1}, {12, 8}};
    for (const auto& [ecrit, lu] : cas) {
        ASSERT_EQ(EnregistrerReglageConnexions(ecrit), ERROR_SUCCESS);
        EXPECT_EQ(LireReglageConnexions(), lu) << ecrit;
    }
    // Une valeur hors bornes écrite par un autre programme est bornée à la lecture.
    CleOuverte cle;
    ASSERT_EQ(CreerCle(HKEY_CURRENT_USER, "Software\\Mervane\\Orthalis\\Emporteur",
                       KEY_READ | KEY_WRITE, cle),
              ERROR_SUCCESS);
    cle.EcrireDword("Connexions", 1000);
    EXPECT_EQ(LireReglageConnexions(), 8);
}

TEST(ReglageConnexions, TexteDeLaLigneDeCommande) {
    const std::pair<const char*, int> cas[] = {{"1", 1}, {"8", 8}, {"4", 4},  {"0", 0},
                                               {"9", 0}, {"4x", 0}, {" 4", 0}, {"", 0},
                                               {"-1", 0}};
    for (const auto& [texte, attendu] : cas)
        EXPECT_EQ(LireTexteConnexions(texte).value_or(0), attendu) << texte;
}

} // namespace
} // namespace emporteur
