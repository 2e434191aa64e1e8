#include "crctool/ListeCrc.h"
#include "download/Crc32.h"
#include "download/DossierSegments.h"
#include "download/PlanSegments.h"
#include "outils/DossierTemporaire.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace emporteur {
namespace {

using test::DossierTemporaire;
using test::EcrireFichier;

std::string Crc(const std::string& s) {
    return std::to_string(Crc32(0, s.data(), s.size()));
}

TEST(ListeCrc, UnNombreParSegmentOuLeCrcDuTout) {
    DossierTemporaire tmp;
    EcrireFichier(tmp / "dix", "0123456789");
    ListeCrc liste;
    std::string erreur;
    ASSERT_TRUE(CalculerListeCrc(tmp / "dix", 4, liste, erreur));
    EXPECT_EQ(liste.Texte, Crc("0123") + " " + Crc("4567") + " " + Crc("89"));
    EXPECT_EQ(liste.Taille, 10u);

    for (std::uint32_t taille : {10u, 11u, 0xFFFFFFFBu}) { // -5 lu non signé
        ASSERT_TRUE(CalculerListeCrc(tmp / "dix", taille, liste, erreur));
        EXPECT_EQ(liste.Texte, Crc("0123456789"));
    }

    EcrireFichier(tmp / "vide", "");
    ASSERT_TRUE(CalculerListeCrc(tmp / "vide", 1000, liste, erreur));
    EXPECT_EQ(liste.Texte, "0");
    EXPECT_EQ(liste.Taille, 0u);
}

TEST(ListeCrc, EchecsExpliques) {
    DossierTemporaire tmp;
    ListeCrc liste;
    std::string erreur;
    EXPECT_FALSE(CalculerListeCrc(tmp / "absent", 4, liste, erreur));
    EXPECT_NE(erreur.find("Impossible d'ouvrir le fichier"), std::string::npos);
    EXPECT_FALSE(CalculerListeCrc(tmp.Chemin(), 4, liste, erreur)); // un dossier
    EcrireFichier(tmp / "f", "abc");
    erreur.clear();
    EXPECT_FALSE(CalculerListeCrc(tmp / "f", 0, liste, erreur));
    EXPECT_FALSE(erreur.empty());
}

// L'annulation arrête le calcul et laisse la liste précédente intacte.
TEST(ListeCrc, AnnulationLaisseLaListeIntacte) {
    DossierTemporaire tmp;
    EcrireFichier(tmp / "f.bin", test::OctetsReproductibles(3u << 20, 3));
    ListeCrc liste{"ancienne", 1};
    std::string erreur;
    const std::atomic<bool> annule{true};
    for (std::uint32_t segment : {4096u, 0xFFFFFFFFu}) {
        EXPECT_FALSE(CalculerListeCrc(tmp / "f.bin", segment, liste, erreur, &annule));
        EXPECT_EQ(erreur, "Calcul interrompu.");
        EXPECT_EQ(liste.Texte, "ancienne");
        EXPECT_EQ(liste.Taille, 1u);
    }
    const std::atomic<bool> libre{false};
    ASSERT_TRUE(CalculerListeCrc(tmp / "f.bin", 4096, liste, erreur, &libre));
    EXPECT_EQ(liste.Taille, 3u << 20);
}

// La liste produite vérifie les segments que le téléchargement découpe du même fichier.
TEST(ListeCrc, VerifieLesSegmentsDuTelechargement) {
    DossierTemporaire tmp;
    std::mt19937 g(7);
    std::string contenu((3u << 20) + 12345, '\0');
    for (auto& c : contenu)
        c = static_cast<char>(g());
    EcrireFichier(tmp / "gros.bin", contenu);

    const std::uint32_t segment = (1u << 20) + 3; // à cheval sur les morceaux de lecture
    ListeCrc liste;
    std::string erreur;
    ASSERT_TRUE(CalculerListeCrc(tmp / "gros.bin", segment, liste, erreur));

    // Les segments que le magasin du téléchargement lit dans le fichier entier.
    const PlanSegments plan(static_cast<std::uint32_t>(contenu.size()), segment);
    DossierSegments magasin(tmp.Chemin() + "/", plan, "gros.bin");
    ASSERT_EQ(magasin.OuvrirEntier(), DossierSegments::Entier::Modifiable);
    std::string attendu;
    std::vector<unsigned char> tampon(segment);
    for (std::uint32_t i = 0; i < plan.Nombre(); ++i) {
        ASSERT_TRUE(magasin.LireDansEntier(i, tampon.data(), plan.Longueur(i)));
        attendu += (i ? " " : "") + std::to_string(Crc32(0, tampon.data(), plan.Longueur(i)));
    }
    EXPECT_EQ(liste.Texte, attendu);
    EXPECT_EQ(liste.Taille, contenu.size());
}

} // namespace
} // namespace emporteur
