// emporteur --help et --version répondent sans ouvrir de fenêtre : sans affichage
// joignable, une fenêtre ferait échouer le programme.
#include "outils/Processus.h"

#include <gtest/gtest.h>

namespace emporteur {
namespace {

TEST(OptionsProgramme, AideEtVersionSansAffichage) {
    const std::map<std::string, std::string> sansAffichage = {
        {"QT_QPA_PLATFORM", "xcb"}, {"DISPLAY", ":424242"}, {"WAYLAND_DISPLAY", ""}};
    for (const char* option : {"--help", "-h"}) {
        SCOPED_TRACE(option);
        const auto r = test::Executer(EMPORTEUR_PROGRAMME, {option}, sansAffichage);
        EXPECT_EQ(r.code, 0) << r.erreurs;
        EXPECT_EQ(r.sortie.rfind("Usage : emporteur ", 0), 0u) << r.sortie;
        EXPECT_NE(r.sortie.find("MajDiscrete"), std::string::npos);
        EXPECT_EQ(r.erreurs, "");
    }
    const auto v = test::Executer(EMPORTEUR_PROGRAMME, {"--version"}, sansAffichage);
    EXPECT_EQ(v.code, 0);
    EXPECT_EQ(v.sortie, "emporteur 3.0.0.0\nsignatures : non vérifiées\n");
}

TEST(OptionsProgramme, SansAffichageUneLigneEtLeCodeDocumente) {
    // Ni avortement ni message de la bibliothèque graphique : la ligne française seule.
    const std::map<std::string, std::string> cas[] = {
        {{"QT_QPA_PLATFORM", ""}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}},
        {{"QT_QPA_PLATFORM", "xcb"}, {"DISPLAY", ":424242"}, {"WAYLAND_DISPLAY", ""}},
        {{"QT_QPA_PLATFORM", ""}, {"DISPLAY", ":424242"}, {"WAYLAND_DISPLAY", "/nulle/part"}},
    };
    for (const auto& env : cas) {
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{}, std::vector<std::string>{"MajDiscrete"}}) {
            const auto r = test::Executer(EMPORTEUR_PROGRAMME, args, env);
            EXPECT_EQ(r.code, 3) << env.at("DISPLAY") << r.erreurs;
            EXPECT_EQ(r.erreurs, "Emporteur : aucun affichage graphique disponible.\n");
            EXPECT_EQ(r.sortie, "");
        }
    }
}

} // namespace
} // namespace emporteur
