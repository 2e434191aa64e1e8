// Des copies tronquées ou abîmées des exécutables de test : jamais de plantage ni de
// lecture hors limites (vérifié sous les sanitiseurs), au pire aucune information.
#include "foundation/DonneesVersion.h"
#include "foundation/LectureVersion.h"
#include "foundation/Texte.h"
#include "outils/DossierTemporaire.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace emporteur {
namespace {

using Octets = std::vector<std::uint8_t>;

Octets LireFixture(const std::string& nom) {
    const std::string brut =
        test::LireFichier(std::string(EMPORTEUR_FIXTURES_VERSION) + "/" + nom + ".exe");
    return Octets(brut.begin(), brut.end());
}

const char* const kFixtures[] = {"produit32", "produit64", "traductions64", "sans_traduction32"};

// Début du bloc VS_VERSIONINFO : son nom UTF-16 suit l'en-tête de six octets.
std::size_t DebutBloc(const Octets& image) {
    const std::string nom = "VS_VERSION_INFO";
    Octets motif;
    for (char c : nom)
        motif.insert(motif.end(), {static_cast<std::uint8_t>(c), 0});
    const auto trouve = std::search(image.begin(), image.end(), motif.begin(), motif.end());
    return trouve == image.end() ? 0 : static_cast<std::size_t>(trouve - image.begin()) - 6;
}

// Tout ce qui sort d'une image abîmée doit rester du texte UTF-8 valide.
void VerifierCoherence(const DonneesVersion& d) {
    for (const auto& table : d.Tables) {
        EXPECT_TRUE(EstUtf8Valide(table.Cle));
        for (const auto& [nom, valeur] : table.Valeurs) {
            EXPECT_TRUE(EstUtf8Valide(nom));
            EXPECT_TRUE(EstUtf8Valide(valeur));
        }
    }
}

TEST(VersionCorrompue, ToutesLesTroncaturesDonnentToutOuRien) {
    for (const char* nom : kFixtures) {
        SCOPED_TRACE(nom);
        const Octets image = LireFixture(nom);
        ASSERT_GT(image.size(), 1000u);
        DonneesVersion complete, d;
        ASSERT_TRUE(DecoderVersionPe(image, complete));
        bool dejaTrouvee = false;
        for (std::size_t taille = 0; taille <= image.size(); ++taille) {
            const bool trouvee = DecoderVersionPe({image.data(), taille}, d);
            // Une fois la ressource entière présente, la lecture ne change plus.
            EXPECT_TRUE(trouvee || !dejaTrouvee) << taille;
            if (trouvee) {
                EXPECT_EQ(d.Tables.size(), complete.Tables.size()) << taille;
            }
            dejaTrouvee = trouvee;
        }
        EXPECT_TRUE(dejaTrouvee);
    }
}

TEST(VersionCorrompue, FichiersTronquesSurDisqueSansInformationMaisLisibles) {
    test::DossierTemporaire dossier;
    const Octets image = LireFixture("produit64");
    const std::string chemin = dossier / "tronque.exe";
    for (std::size_t taille = 0; taille < image.size(); taille += 97) {
        test::EcrireFichier(chemin, std::string(image.begin(), image.begin() + taille));
        DonneesVersion surDisque, enMemoire;
        const LectureVersion lecture = LireDonneesVersion(chemin, surDisque);
        EXPECT_NE(lecture, LectureVersion::Illisible) << taille;
        EXPECT_EQ(lecture == LectureVersion::Trouvee,
                  DecoderVersionPe({image.data(), taille}, enMemoire))
            << taille;
    }
}

TEST(VersionCorrompue, OctetsInversesAuHasardAvecGraineFixe) {
    std::mt19937 hasard(20240611);
    for (const char* nom : kFixtures) {
        SCOPED_TRACE(nom);
        const Octets image = LireFixture(nom);
        const std::size_t bloc = DebutBloc(image);
        ASSERT_GT(bloc, 0u);
        for (int essai = 0; essai < 1500; ++essai) {
            Octets abime = image;
            // Une fois sur deux, les coups tombent dans le bloc de version lui-même.
            const std::size_t debut = essai % 2 ? bloc : 0;
            std::uniform_int_distribution<std::size_t> position(debut, abime.size() - 1);
            const int coups = 1 + static_cast<int>(hasard() % 8);
            for (int i = 0; i < coups; ++i)
                abime[position(hasard)] ^= static_cast<std::uint8_t>(1 + hasard() % 255);
            DonneesVersion d;
            if (DecoderVersionPe(abime, d)) VerifierCoherence(d);
        }
    }
}

// Écrit un mot de 16 ou 32 bits petit-boutien à une position.
void Poser(Octets& o, std::size_t position, std::uint32_t valeur, int octets) {
    for (int i = 0; i < octets; ++i)
        o[position + i] = static_cast<std::uint8_t>(valeur >> (8 * i));
}

TEST(VersionCorrompue, ChampsHostilesRefusesSansGrosseAllocation) {
    const Octets image = LireFixture("produit64");
    const std::uint32_t debutPe = image[0x3C] | image[0x3D] << 8;
    const std::size_t bloc = DebutBloc(image);
    struct Cas {
        const char* quoi;
        std::size_t position;
        std::uint32_t valeur;
        int octets;
    };
    const Cas cas[] = {
        {"en-tête PE au-delà du fichier", 0x3C, 0xFFFFFFF0u, 4},
        {"signature PE absente", debutPe, 0x4551, 4},
        {"65535 sections", debutPe + 6, 0xFFFF, 2},
        {"en-tête optionnel trop court", debutPe + 20, 16, 2},
        {"magie inconnue", debutPe + 24, 0x10C, 2},
        {"moins de trois répertoires", debutPe + 24 + 108, 2, 4},
        {"bloc racine de longueur nulle", bloc, 0, 2},
        {"bloc racine plus long que la ressource", bloc, 0xFFFF, 2},
        {"bloc fixe sans signature", bloc + 40, 0xFEEF04BC, 4},
        {"valeur fixe trop courte", bloc + 2, 51, 2},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.quoi);
        Octets abime = image;
        Poser(abime, c.position, c.valeur, c.octets);
        DonneesVersion d;
        EXPECT_FALSE(DecoderVersionPe(abime, d));
        EXPECT_TRUE(d.Tables.empty());
        EXPECT_EQ(d.Fixe.FichierFort, 0u);
    }
}

TEST(VersionCorrompue, EnfantDeLongueurNulleArreteLeParcoursSansBoucler) {
    Octets image = LireFixture("produit64");
    const std::size_t bloc = DebutBloc(image);
    // Premier enfant (StringFileInfo) : après l'en-tête, le nom aligné et les 52 octets fixes.
    const std::size_t enfant = bloc + 6 + 32 + 2 + 52;
    ASSERT_EQ(image[enfant + 6], 'S');
    Poser(image, enfant, 0, 2);
    DonneesVersion d;
    ASSERT_TRUE(DecoderVersionPe(image, d));
    EXPECT_TRUE(d.Tables.empty());
    EXPECT_TRUE(d.Traductions.empty()); // VarFileInfo suit l'enfant illisible
}

} // namespace
} // namespace emporteur
