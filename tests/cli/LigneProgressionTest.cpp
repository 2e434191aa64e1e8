// La ligne de progression et le bilan de la console, composés sans processus.
#include "cli/BilanConsole.h"
#include "cli/LigneProgression.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace emporteur::cli {
namespace {

const EtatLigne kLongue{42, 63'000'000, 150'000'000, 3'210'000.0, 725.0, 4330.0};

TEST(LigneProgression, TientDansToutesLesLargeursEtRaccourcitDansLOrdre) {
    const struct {
        int largeur;
        const char* attendue;
    } cas[] = {
        {200, "Total :  42 %  63,000,000 / 150,000,000 octets  3,21 Mo/s  écoulé 12 min 05 s  "
              "reste 1 h 12 min"},
        {80, " 42 %  63,00/150,00 Mo  3,21 Mo/s  écoulé 12 min 05 s  reste 1 h 12 min"},
        {70, " 42 %  63,00/150,00 Mo  3,21 Mo/s  écoulé 12:05  reste 1:12:10"},
        {60, " 42 %  63,00/150,00 Mo  3,21 Mo/s  12:05  reste 1:12:10"},
        {50, " 42 %  63,00/150,00 Mo  3,21 Mo/s  reste 1:12:10"},
        {40, " 42 %  3,21 Mo/s  reste 1:12:10"},
        {25, " 42 %  reste 1:12:10"},
        {10, " 42 %  re"}, // au-dessous de la forme la plus courte : coupée
    };
    for (const auto& c : cas) {
        const std::string ligne = LigneProgression(c.largeur).Composer(kLongue);
        EXPECT_EQ(ligne, c.attendue) << c.largeur;
        EXPECT_LT(LigneProgression::Colonnes(ligne), static_cast<std::size_t>(c.largeur));
    }
    // Toutes les largeurs de 40 à 200, avec les plus grands nombres possibles.
    const EtatLigne grande{100, 4'000'000'000'000, 4'000'000'000'000, 9.9e12, 359999, 359999};
    for (int largeur = 40; largeur <= 200; ++largeur) {
        const auto ligne = LigneProgression(largeur).Composer(grande);
        EXPECT_LT(LigneProgression::Colonnes(ligne), static_cast<std::size_t>(largeur)) << ligne;
        EXPECT_NE(ligne.find("reste"), std::string::npos) << largeur;
    }
}

TEST(LigneProgression, DebitEtRestantInconnusAuDebut) {
    const EtatLigne debut{0, 0, 6'000'000, std::nullopt, 0.4, std::nullopt};
    EXPECT_EQ(LigneProgression::Complete(debut),
              "Total :   0 %  0 / 6,000,000 octets  -- Mo/s  écoulé 0 min 00 s  reste -- min -- s");
    EXPECT_EQ(LigneProgression(30).Composer(debut), "  0 %  -- Mo/s  reste --:--");
}

TEST(LigneProgression, CouperNeTranchePasUnCaractere) {
    const EtatLigne e{5, 1, 2, 1.0, 1.0, 1.0};
    // « écoulé » : les caractères de deux octets comptent pour une colonne.
    EXPECT_EQ(LigneProgression::Colonnes("écoulé"), 6u);
    const auto ligne = LigneProgression(200).Composer(e);
    EXPECT_EQ(LigneProgression::Colonnes(ligne) + 2, ligne.size());
}

Progression::BilanFichier Bilan(std::uint32_t recus, std::uint32_t presents, std::uint64_t octets,
                                double secondes) {
    Progression::BilanFichier b;
    b.SegmentsRecus = recus;
    b.SegmentsPresents = presents;
    b.OctetsRecus = octets;
    b.Secondes = secondes;
    return b;
}

TEST(BilanConsole, UneLigneEtUnObjetParFichier) {
    EnsembleFichiers ensemble;
    for (const char* nom : {"a.exe", "b.cab", "jamais atteint.bin"}) {
        ensemble.Fichiers.push_back(std::make_unique<Ingredient>());
        ensemble.Fichiers.back()->NomLocal = nom;
    }
    ensemble.Fichiers[0]->EstReussi = true;
    const std::vector bilans{Bilan(4, 2, 3'500'000, 1.26), Bilan(0, 0, 0, 0.01)};
    EXPECT_EQ(TexteBilan(ensemble, bilans),
              "a.exe : Réussi (4 segments reçus, 2 déjà présents, 3,50 Mo en 1,3 s)\n"
              "b.cab : Échec (0 segments reçus, 0 déjà présents, 0,00 Mo en 0,0 s)\n"
              "jamais atteint.bin : Échec (0 segments reçus, 0 déjà présents, 0,00 Mo en 0,0 s)\n");
    const auto j = nlohmann::json::parse(JsonBilan(ensemble, bilans, 1));
    EXPECT_EQ(j["code"], 1);
    ASSERT_EQ(j["fichiers"].size(), 3u);
    EXPECT_EQ(j["fichiers"][0],
              nlohmann::json({{"nom", "a.exe"},
                              {"resultat", "reussi"},
                              {"octetsRecus", 3'500'000},
                              {"segmentsRecus", 4},
                              {"segmentsPresents", 2},
                              {"secondes", 1.26}}));
    EXPECT_EQ(j["fichiers"][2]["resultat"], "echec");
    // Après Ctrl-C, rien n'est donné pour réussi.
    const auto annule = nlohmann::json::parse(JsonBilan(ensemble, bilans, 130));
    EXPECT_EQ(annule["code"], 130);
    EXPECT_EQ(annule["fichiers"][0]["resultat"], "annule");
}

} // namespace
} // namespace emporteur::cli
