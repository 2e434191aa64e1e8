// Les autres commandes de emporteur-cli.exe sous wine : mêmes codes et mêmes lignes que
// emporteur-cli de Linux sur les mêmes entrées, et le registre d'un processus relu par
// un autre.
#include "outils/DossierTemporaire.h"
#include "outils/Processus.h"
#include "windows/CliWindows.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>

namespace emporteur::test {
namespace {

// Le dossier proposé d'un élément du catalogue part du bureau, qui diffère par nature
// (dossier connu de Windows, XDG sous Linux) ; le nom qui le suit doit être le même.
std::string SansBureau(const std::string& json) {
    static const std::regex dossier("\"dossier\":\"[^\"]*?(\\\\|/)(Mervane_[^\"]*)\"");
    return std::regex_replace(json, dossier, "\"dossier\":\"<BUREAU>/$2\"");
}

class WindowsCommandes : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const auto manque = ManqueAWine(); !manque.empty()) GTEST_FAIL() << manque;
    }
    EnvironnementIsole environnement;
    DossierTemporaire dossier;
};

TEST_F(WindowsCommandes, MemesSortiesQueLinux) {
    const std::string fichier = dossier / "f.bin";
    EcrireFichier(fichier, OctetsReproductibles(10000, 3));
    const std::string exemple = std::string(EMPORTEUR_SOURCES) + "/exemples/catalogue/";
    const std::string pe = std::string(EMPORTEUR_FIXTURES_VERSION) + "/";
    const std::vector<std::vector<std::string>> cas = {
        {"--version"},
        {"--help"},
        {"telecharger", "--help"},
        {"crc", fichier, "4096"},
        {"crc", fichier, "0"},
        {"ingredient", fichier, "4096", "--cle", "k", "--site", "s", "--rep", "r"},
        {"catalogue", exemple + "RecettesOrthalis", exemple + "IngredientsOrthalis",
         exemple + "IngredientsBoutique"},
        {"version", pe + "produit64.exe"},
        {"version", pe + "traductions32.exe"},
        {"version", pe + "sans_version64.exe"},
        {"version", fichier},
        {"commande-inconnue"},
        {"telecharger", "--recette", "abc"},
    };
    for (const auto& arguments : cas) {
        SCOPED_TRACE(arguments[0] + (arguments.size() > 1 ? " " + arguments[1] : ""));
        const auto linux = ExecuterCli(arguments);
        const auto windows = ExecuterWindows(arguments);
        EXPECT_EQ(windows.code, linux.code) << windows.erreurs;
        EXPECT_NE(linux.sortie + linux.erreurs, "");
        const Normalisation n{{CheminZ(dossier.Chemin()), dossier.Chemin()}};
        EXPECT_EQ(Lignes(SansBureau(windows.sortie), n), Lignes(SansBureau(linux.sortie), n));
        EXPECT_EQ(Lignes(windows.erreurs, n), Lignes(linux.erreurs, n));
    }
}

// Écrit par un processus, relu par un autre, accents compris ; une valeur absente est
// dite de la même façon qu'à Linux.
TEST_F(WindowsCommandes, RegistreEcritParUnProcessusLuParUnAutre) {
    // Le registre du préfixe de wine dure d'une exécution à l'autre : une clé neuve.
    const std::string cle =
        "Software\\Mervane\\EssaiWindows\\" + std::to_string(std::random_device{}());
    const struct {
        const char* valeur;
        const char* texte;
    } cas[] = {{"Simple", "C:\\Orthalis"}, {"Accents", "Élodie à Noël"}, {"Vide", ""}};
    using Executeur = ResultatProcessus (*)(const std::vector<std::string>&,
                                            const std::map<std::string, std::string>&);
    for (const auto& c : cas) {
        SCOPED_TRACE(c.valeur);
        std::vector<ResultatProcessus> lus;
        for (const Executeur executer : {Executeur(&ExecuterCli), Executeur(&ExecuterWindows)}) {
            const auto ecrit = executer({"registre", "ecrire", cle, c.valeur, c.texte}, {});
            EXPECT_EQ(ecrit.code, 0) << ecrit.erreurs;
            lus.push_back(executer({"registre", "lire", cle, c.valeur}, {}));
        }
        EXPECT_EQ(lus[1].code, 0) << lus[1].erreurs;
        EXPECT_EQ(Lignes(lus[1].sortie), std::vector<std::string>{c.texte});
        EXPECT_EQ(Lignes(lus[1].sortie), Lignes(lus[0].sortie));
    }
    const auto linux = ExecuterCli({"registre", "lire", cle, "Absente"});
    const auto windows = ExecuterWindows({"registre", "lire", cle, "Absente"});
    EXPECT_EQ(windows.code, 1);
    EXPECT_EQ(windows.code, linux.code);
    EXPECT_EQ(Lignes(windows.erreurs), Lignes(linux.erreurs));
}

} // namespace
} // namespace emporteur::test
