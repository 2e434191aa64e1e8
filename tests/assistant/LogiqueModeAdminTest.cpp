#include "assistant/LogiqueModeAdmin.h"
#include "catalogue/SyntaxeCatalogue.h"
#include "download/Crc32.h"
#include "download/PlanSegments.h"
#include "outils/DossierTemporaire.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace emporteur {
namespace {

using test::DossierTemporaire;
using test::EcrireFichier;

TEST(ModeAdmin, CalculerDisponibleSelonTailleEtFichier) {
    EtatModeAdmin etat;
    EXPECT_FALSE(etat.CalculerDisponible());
    etat.TailleModifiee(""); // vide dès le départ : toujours invalide
    EXPECT_FALSE(etat.CalculerDisponible());
    etat.FichierChoisi("/d/premier.bin");
    EXPECT_FALSE(etat.CalculerDisponible());

    const struct {
        const char* texte;
        bool disponible;
        std::uint32_t taille;
    } saisies[] = {
        {"1000", true, 1000}, {"", true, 1000}, // effacer garde la taille lue
        {"12abc", true, 12},  {"abc", false, 0}, {"-5", true, 0xFFFFFFFBu},
        {" +7", true, 7},     {"0", false, 0},   {"4", true, 4},
    };
    for (const auto& s : saisies) {
        etat.TailleModifiee(s.texte);
        EXPECT_EQ(etat.CalculerDisponible(), s.disponible) << s.texte;
        EXPECT_EQ(etat.TailleSegment(), s.taille) << s.texte;
    }
    etat.FichierChoisi(std::nullopt); // second choix abandonné
    EXPECT_FALSE(etat.CalculerDisponible());
    EXPECT_EQ(etat.Chemin(), "/d/premier.bin");
    etat.FichierChoisi("/d/second.bin");
    EXPECT_TRUE(etat.CalculerDisponible());
    EXPECT_EQ(etat.Chemin(), "/d/second.bin");
}

// Relue comme le catalogue la relit, la liste vaut nombre pour nombre les CRC que
// la tâche calcule sur les segments du plan ; le total est la taille du fichier.
TEST(ModeAdmin, ListeRelueCommeLesCrcDuTelechargement) {
    DossierTemporaire tmp;
    const std::string gros = test::OctetsReproductibles((2u << 20) + 777, 11);
    const std::pair<std::string, std::uint32_t> cas[] = {
        {"0123456789", 4}, {"0123456789", 10},     {"0123456789", 11},  {gros, 65536},
        {gros, 999},       {gros, (1u << 20) + 5}, {gros, 0xFFFFFFFBu}, {"", 1000}};
    for (const auto& [contenu, segment] : cas) {
        EcrireFichier(tmp / "maj.exe", contenu);
        const TextesCalculCrc textes = CalculerTextesCrc(tmp / "maj.exe", segment);
        EXPECT_EQ(textes.Total, std::to_string(contenu.size()));
        std::vector<std::uint32_t> lus;
        for (std::string_view reste = textes.Liste; !reste.empty();)
            lus.push_back(LireNombre(ProchainElement(reste)));
        const PlanSegments plan(static_cast<std::uint32_t>(contenu.size()), segment);
        ASSERT_EQ(lus.size(), std::max<std::uint32_t>(plan.Nombre(), 1)) << segment;
        for (std::uint32_t i = 0; i < lus.size(); ++i)
            EXPECT_EQ(lus[i], Crc32(0, contenu.data() + plan.Debut(i), plan.Longueur(i))) << i;
    }
}

// Le champ garde sa lecture, mais une liste que le téléchargement refuserait le dit,
// avec la limite.
TEST(ModeAdmin, ListeQueLeTelechargementRefuseraitSignalee) {
    DossierTemporaire tmp;
    EcrireFichier(tmp / "f", "0123456789");
    EcrireFichier(tmp / "vide", "");
    const struct {
        const char* fichier;
        std::uint32_t segment;
        const char* avertissement;
    } cas[] = {
        {"f", 4, ""},
        {"f", 64u << 20, ""},
        {"f", (64u << 20) + 1,
         "Attention : le téléchargement refuserait cette liste (taille des segments de 1 à "
         "67108864 octets (64 Mio))."},
        {"f", 0xFFFFFFFBu,
         "Attention : le téléchargement refuserait cette liste (taille des segments de 1 à "
         "67108864 octets (64 Mio))."},
        {"vide", 4, "Attention : le téléchargement refuserait cette liste (fichier vide)."},
    };
    for (const auto& c : cas) {
        const TextesCalculCrc textes = CalculerTextesCrc(tmp / c.fichier, c.segment);
        EXPECT_EQ(textes.Avertissement, c.avertissement) << c.fichier << " " << c.segment;
        EXPECT_FALSE(textes.Liste.empty());
    }
}

TEST(ModeAdmin, FichierIllisibleOuCalculInterrompu) {
    DossierTemporaire tmp;
    EcrireFichier(tmp / "parti", "abc");
    std::filesystem::remove(tmp / "parti"); // effacé après avoir été choisi
    ::mkfifo((tmp / "tube").c_str(), 0600);
    for (const std::string& chemin : {tmp / "parti", tmp.Chemin(), tmp / "tube"}) {
        const TextesCalculCrc textes = CalculerTextesCrc(chemin, 4);
        EXPECT_EQ(textes.Liste.rfind("Impossible d'ouvrir le fichier " + chemin + " : ", 0), 0u)
            << textes.Liste;
        EXPECT_EQ(textes.Total, "");
    }
    EcrireFichier(tmp / "f", "0123456789");
    const std::atomic<bool> annule{true};
    EXPECT_EQ(CalculerTextesCrc(tmp / "f", 4, &annule).Liste, "Calcul interrompu.");
}

} // namespace
} // namespace emporteur
