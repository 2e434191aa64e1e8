#include "assistant/LogiqueDestination.h"
#include "foundation/Fichiers.h"
#include "outils/DossierTemporaire.h"
#include "outils/InterfaceEnregistreuse.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

namespace emporteur {
namespace {

TEST(Destination, ParcourirDonneLeSousDossierDeTelechargement) {
#ifdef _WIN32
    GTEST_SKIP() << "chemins et séparateurs de Linux";
#endif
    test::InterfaceEnregistreuse ui;
    ui.dossiersChoisis = {"/home/u/Archives", "/", "/home/u/Mervane_Téléchargement/Ancien",
                          "/home/u/mervane_téléchargement/"};
    EXPECT_EQ(ParcourirDestination(ui), "/home/u/Archives/Mervane_Téléchargement");
    EXPECT_EQ(ParcourirDestination(ui), "/Mervane_Téléchargement");
    EXPECT_EQ(ParcourirDestination(ui), "/home/u/Mervane_Téléchargement/Ancien");
    EXPECT_EQ(ParcourirDestination(ui), "/home/u/mervane_téléchargement/Mervane_Téléchargement");
    EXPECT_EQ(ParcourirDestination(ui), std::nullopt); // l'utilisateur renonce
    EXPECT_EQ(ui.Appels("ChoisirDossier").at(0).texte, "Choisissez l’emplacement de sauvegarde :");
}

// Le sélecteur s'ouvre sur le dossier tapé ou son plus proche parent existant.
TEST(Destination, ParcourirPartDuPlusProcheParentExistant) {
    test::DossierTemporaire dossier;
    std::filesystem::create_directories(dossier / "a/b");
    test::EcrireFichier(dossier / "a/fichier", "x");
    const struct {
        std::string tape, depart;
    } cas[] = {
        {dossier / "a/b", dossier / "a/b"},
        {dossier / "a/b/c/d", dossier / "a/b"},
        {dossier / "a/fichier/x", dossier / "a"},
        {dossier / "a/b/", dossier / "a/b/"},
        {"", ""},
        {"relatif-inexistant/x", ""},
    };
    for (const auto& c : cas) {
        test::InterfaceEnregistreuse ui;
        EXPECT_EQ(ParcourirDestination(ui, c.tape), std::nullopt);
        EXPECT_EQ(ui.Appels("ChoisirDossier").at(0).titre, c.depart) << c.tape;
    }
}

class PageDestination : public ::testing::Test {
  protected:
    PageDestination() {
        ctx.Recettes.push_back(std::make_unique<Recette>());
        ctx.Recettes.back()->Dossier = "/ancien/";
        test::EcrireFichier(dossier / "fichier", "x");
    }

    test::DossierTemporaire dossier;
    const std::string d = dossier.Chemin();
    test::InterfaceEnregistreuse ui;
    ContexteTelechargement ctx{ModeExecution::Ordinaire, ui};
};

TEST_F(PageDestination, LaZoneMontreLeDossierDeLElementChoisi) {
    for (auto [indice, attendu] : {std::pair{0, "/ancien/"}, {-1, "tapé"}, {1, "tapé"}}) {
        ctx.IndiceChoisi = indice;
        EXPECT_EQ(TexteDestination(ctx, "tapé"), attendu) << indice;
    }
}

TEST_F(PageDestination, SuivantCreeAuBesoinPuisRangeAvecUneBarreFinale) {
#ifdef _WIN32
    GTEST_SKIP() << "chemins et séparateurs de Linux";
#endif
    const unsigned question = MB_YESNO | MB_ICONQUESTION;
    const unsigned erreur = MB_OK | MB_ICONHAND;
    const std::tuple<std::string, Reponse, bool, std::vector<unsigned>, std::string> cas[] = {
        {d, Reponse{}, true, {}, d + "/"},
        {d + "/", Reponse{}, true, {}, d + "/"},
        {d + "/neuf", Reponse::Non, false, {question}, "/ancien/"},
        {d + "/a/b/c", Reponse::Oui, true, {question}, d + "/a/b/c/"},
        {d + "/fichier/sous", Reponse::Oui, false, {question, erreur}, "/ancien/"},
    };
    for (const auto& [chemin, reponse, passe, boites, range] : cas) {
        test::InterfaceEnregistreuse ui;
        ui.reponses = {reponse};
        ContexteTelechargement contexte{ModeExecution::Ordinaire, ui};
        contexte.Recettes.push_back(std::make_unique<Recette>());
        contexte.Recettes[0]->Dossier = "/ancien/";
        EXPECT_EQ(SuivantDestination(contexte, chemin), passe) << chemin;
        EXPECT_EQ(contexte.Recettes[0]->Dossier, range);
        const std::string textes[] = {"Le dossier spécifié n’existe pas.\nDésirez-vous le créer ?",
                                      "Impossible de créer le dossier indiqué."};
        const auto appels = ui.Appels("BoiteMessage");
        ASSERT_EQ(appels.size(), boites.size()) << chemin;
        for (std::size_t k = 0; k < appels.size(); ++k) {
            EXPECT_EQ(appels[k].texte, textes[k]);
            EXPECT_EQ(appels[k].style, boites[k]);
        }
    }
    EXPECT_FALSE(DossierExiste(d + "/neuf"));
    EXPECT_TRUE(DossierExiste(d + "/a/b/c"));
}

TEST_F(PageDestination, SansElementChoisiRienNEstDemandeNiRange) {
    ctx.IndiceChoisi = -1;
    EXPECT_TRUE(SuivantDestination(ctx, dossier / "absent"));
    EXPECT_TRUE(ui.Appels().empty());
    EXPECT_FALSE(DossierExiste(dossier / "absent"));
    EXPECT_EQ(ctx.Recettes[0]->Dossier, "/ancien/");
}

} // namespace
} // namespace emporteur
