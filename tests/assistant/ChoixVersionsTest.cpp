#include "assistant/ChoixVersions.h"
#include "outils/DossierTemporaire.h"
#include "outils/InterfaceEnregistreuse.h"

#include <gtest/gtest.h>

#include <tuple>

namespace emporteur {
namespace {

class ChoixVersions : public ::testing::Test {
  protected:
    // Éléments a, b, c, d d'un fichier chacun ; sur la mise à niveau, d est
    // l'ensemble vide qui reçoit le choix.
    void Remplir(bool miseANiveau) {
        ctx.Recettes.clear();
        ctx.ModeMiseANiveau = miseANiveau;
        for (std::string nom : {"a", "b", "c", "d"}) {
            ctx.Recettes.push_back(std::make_unique<Recette>());
            if (miseANiveau && nom == "d") continue;
            ctx.Recettes.back()->Fichiers.push_back(std::make_unique<Ingredient>());
            ctx.Recettes.back()->Fichiers.back()->NomLocal = nom;
        }
    }
    std::string Fichiers() const {
        std::string noms;
        for (const auto& r : ctx.Recettes) {
            for (const auto& f : r->Fichiers)
                noms += f->NomLocal;
            noms += "|";
        }
        return noms;
    }

    test::EnvironnementIsole env; // pas d'installation silencieuse
    test::InterfaceEnregistreuse ui;
    ContexteTelechargement ctx{ModeExecution::Ordinaire, ui};
};

TEST_F(ChoixVersions, SuivantSansCaseCocheeAvertitEtReste) {
    const std::tuple<bool, std::vector<bool>, const char*> cas[] = {
        {false, {false, false, true}, nullptr},
        {false, {}, "Aucune mise à jour n’est sélectionnée."},
        {true, {true}, nullptr},
        // Le dernier élément de la mise à niveau n'a pas de case.
        {true, {false, false, false, true}, "Aucune mise à niveau n’est sélectionnée."},
    };
    for (const auto& [miseANiveau, cochees, avertissement] : cas) {
        Remplir(miseANiveau);
        const auto avant = ui.Appels().size();
        EXPECT_EQ(AccepterChoixVersions(ctx, cochees), avertissement == nullptr);
        const auto boites = ui.Appels();
        ASSERT_EQ(boites.size(), avant + (avertissement ? 1 : 0));
        if (!avertissement) continue;
        EXPECT_EQ(boites.back().texte, avertissement);
        EXPECT_EQ(boites.back().style & (style::MASQUE_BOUTONS | style::MASQUE_ICONE),
                  MB_OK | MB_ICONEXCLAMATION);
    }
}

TEST_F(ChoixVersions, LesFichiersCochesSontRassemblesDansUnElement) {
    const std::tuple<bool, std::vector<bool>, std::int32_t, const char*> cas[] = {
        {false, {false, true, false, true}, 1, "a|bd|c|d|"},
        {false, {false, false, false, false}, -1, "a|b|c|d|"},
        {true, {true, false, true}, 3, "a|b|c|ac|"},
        {true, {false, true, false, true}, 3, "a|b|c|b|"},
    };
    for (const auto& [miseANiveau, cochees, indice, fichiers] : cas) {
        Remplir(miseANiveau);
        ctx.IndiceChoisi = 0;
        RassemblerChoixVersions(ctx, cochees);
        EXPECT_EQ(ctx.IndiceChoisi, indice);
        EXPECT_EQ(Fichiers(), fichiers);
    }
}

} // namespace
} // namespace emporteur
