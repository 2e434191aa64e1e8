#include "assistant/LogiqueTerminay.h"
#include "outils/DossierTemporaire.h"
#include "outils/InterfaceEnregistreuse.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace emporteur {
namespace {

using namespace std::chrono_literals;

// La fenêtre du programme lancé apparaît à la n-ième recherche (0 : jamais).
class InterfaceFenetre : public test::InterfaceEnregistreuse {
  public:
    int apparition = 0;
    bool MettreAuPremierPlan(const std::string& titre) override {
        InterfaceEnregistreuse::MettreAuPremierPlan(titre);
        return apparition != 0 && static_cast<int>(Appels("PremierPlan").size()) >= apparition;
    }
};

struct Fichier {
    const char* nom;
    bool reussi, aLancer;
};

// Un élément dont les fichiers sont écrits dans `dossier` (sans "/" final : ajouté au lancement).
std::unique_ptr<Recette> Element(const test::DossierTemporaire& dossier,
                                 std::initializer_list<Fichier> fichiers) {
    auto recette = std::make_unique<Recette>();
    recette->Dossier = dossier.Chemin();
    for (const auto& f : fichiers) {
        recette->Fichiers.push_back(std::make_unique<Ingredient>());
        recette->Fichiers.back()->NomLocal = f.nom;
        recette->Fichiers.back()->EstReussi = f.reussi;
        recette->Fichiers.back()->ALancer = f.aLancer;
        test::EcrireFichier(dossier / f.nom, "MZ");
    }
    return recette;
}

class PageTerminay : public ::testing::Test {
  protected:
    void Remplir(std::initializer_list<Fichier> fichiers) {
        ctx.Recettes.clear();
        ctx.Recettes.push_back(Element(dossier, fichiers));
    }
    void Terminer(bool lancer) {
        TerminerAssistant(ctx, lancer, [&](std::chrono::milliseconds d) { attendu += d; });
    }

    test::DossierTemporaire dossier;
    InterfaceFenetre ui;
    ContexteTelechargement ctx{ModeExecution::Ordinaire, ui};
    std::chrono::milliseconds attendu{0};
};

// Terminer suit la case telle que le compte rendu la laisse.
TEST_F(PageTerminay, CompteRenduCaseEtLancement) {
    const struct {
        std::initializer_list<Fichier> fichiers;
        const char* lignes;
        bool lancement;
    } cas[] = {
        {{{"a.exe", true, true}, {"b.exe", true, false}}, "b.exe Réussi|a.exe Réussi|", true},
        {{{"a.exe", true, true}, {"b.exe", false, false}}, "b.exe Échec|a.exe Réussi|", false},
        {{{"a.exe", true, false}, {"b.exe", true, false}}, "b.exe Réussi|a.exe Réussi|", false},
        {{{"a.exe", true, true}, {"b.exe", true, true}}, "b.exe Réussi|a.exe Réussi|", false},
        {{{"a.exe", false, true}, {"b.exe", true, true}}, "b.exe Réussi|a.exe Échec|", false},
    };
    ctx.ModeMiseANiveau = true; // sans attente de fenêtre ici
    for (const auto& c : cas) {
        Remplir(c.fichiers);
        const CompteRendu compte = PreparerCompteRendu(ctx);
        std::string lignes;
        for (const auto& l : compte.Lignes)
            lignes += l.Fichier + " " + l.Resultat + "|";
        EXPECT_EQ(lignes, c.lignes);
        EXPECT_EQ(compte.Lancement, c.lancement) << lignes;
        EXPECT_EQ(compte.TexteDossier,
                  "Les fichiers sont sauvegardés dans le dossier :\n" + dossier.Chemin());
        const auto avant = ui.Appels("Ouvrir").size();
        Terminer(compte.Lancement);
        const auto ouverts = ui.Appels("Ouvrir");
        ASSERT_EQ(ouverts.size(), avant + (c.lancement ? 1 : 0)) << lignes;
        if (c.lancement) {
            EXPECT_EQ(ouverts.back().texte, dossier.Chemin() + test::kSeparateur + "a.exe");
        }
    }
}

TEST_F(PageTerminay, FenetreDuProgrammeLanceAttendueHorsMiseANiveau) {
    const struct {
        bool miseANiveau;
        int apparition, recherches;
        std::chrono::milliseconds attente;
    } cas[] = {{false, 0, 5, 5000ms}, {false, 3, 3, 2000ms}, {false, 1, 1, 0ms}, {true, 0, 0, 0ms}};
    for (const auto& c : cas) {
        InterfaceFenetre ui;
        ui.apparition = c.apparition;
        ContexteTelechargement contexte{ModeExecution::Ordinaire, ui};
        contexte.ModeMiseANiveau = c.miseANiveau;
        contexte.Recettes.push_back(Element(dossier, {{"maj.exe", true, true}}));
        std::chrono::milliseconds attente{0};
        TerminerAssistant(contexte, true, [&](std::chrono::milliseconds d) { attente += d; });
        ASSERT_EQ(ui.Appels("Ouvrir").size(), 1u);
        const auto recherches = ui.Appels("PremierPlan");
        ASSERT_EQ(static_cast<int>(recherches.size()), c.recherches);
        for (const auto& r : recherches)
            EXPECT_EQ(r.texte, "Mise à jour d'Orthalis");
        EXPECT_EQ(attente, c.attente);
    }
}

TEST_F(PageTerminay, CibleAbsenteOuNomMotifPasseeSansMessage) {
    Remplir({{"maj.exe", true, true}});
    std::filesystem::remove(dossier / "maj.exe");
    Terminer(true);
    // Un nom venu du serveur n'est pas un motif : "*.exe" ne désigne pas "autre.exe".
    Remplir({{"*.exe", true, true}});
    std::filesystem::remove(dossier / "*.exe");
    test::EcrireFichier(dossier / "autre.exe", "MZ");
    Terminer(true);
    Terminer(false);
    EXPECT_TRUE(ui.Appels().empty());
    EXPECT_EQ(attendu, 0ms);
}

TEST_F(PageTerminay, SansElementChoisi) {
    for (int indice : {0, -1, 3}) {
        ctx.IndiceChoisi = indice;
        if (indice != 0) Remplir({{"maj.exe", true, true}});
        const CompteRendu compte = PreparerCompteRendu(ctx);
        EXPECT_TRUE(compte.Lignes.empty());
        EXPECT_FALSE(compte.Lancement);
        EXPECT_EQ(compte.TexteDossier, "Les fichiers sont sauvegardés dans le dossier :\n");
        ExplorerDossierTelechargement(ctx);
        Terminer(true);
    }
    EXPECT_TRUE(ui.Appels().empty());

    ctx.IndiceChoisi = 0;
    ExplorerDossierTelechargement(ctx);
    ASSERT_EQ(ui.Appels("Explorer").size(), 1u);
    EXPECT_EQ(ui.Appels("Explorer")[0].texte, dossier.Chemin());
}

} // namespace
} // namespace emporteur

namespace emporteur {
namespace {

// Rien pour ouvrir le fichier ou le dossier : une boîte française le dit, et Terminer
// n'attend aucune fenêtre. Un système qui ne sait pas ouvrir l'exécutable grise la case.
TEST(PageTerminayEchecs, LancementOuExplorationRatesLeDisent) {
    test::DossierTemporaire dossier;
    test::InterfaceEnregistreuse ui;
    ui.ouvertureReussie = false;
    ContexteTelechargement ctx{ModeExecution::Ordinaire, ui};
    ctx.Recettes.push_back(Element(dossier, {{"maj.exe", true, true}}));
    std::chrono::milliseconds attente{0};
    TerminerAssistant(ctx, true, [&](std::chrono::milliseconds d) { attente += d; });
    ExplorerDossierTelechargement(ctx);
    const auto boites = ui.Appels("BoiteMessage");
    ASSERT_EQ(boites.size(), 2u);
    EXPECT_EQ(boites[0].texte, "Impossible d’ouvrir « " + dossier.Chemin() + test::kSeparateur + "maj.exe" +
                                   " ».\nAucun programme de ce système ne sait l’ouvrir.");
    EXPECT_NE(boites[0].style & MB_ICONHAND, 0u);
    EXPECT_NE(boites[1].texte.find("« " + dossier.Chemin() + " »"), std::string::npos);
    EXPECT_TRUE(ui.Appels("PremierPlan").empty());
    EXPECT_EQ(attente, 0ms);

    EXPECT_FALSE(PreparerCompteRendu(ctx).Lancement);
    ui.ouvertureReussie = true;
    EXPECT_TRUE(PreparerCompteRendu(ctx).Lancement);
    const auto demandes = ui.Appels("SaitOuvrir");
    ASSERT_EQ(demandes.size(), 2u);
    EXPECT_EQ(demandes[1].texte, dossier.Chemin() + test::kSeparateur + "maj.exe");
}

} // namespace
} // namespace emporteur
