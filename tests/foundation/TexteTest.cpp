#include "foundation/Texte.h"
#include "foundation/DossiersUtilisateur.h"
#include "outils/DossierTemporaire.h"

#include <gtest/gtest.h>

namespace emporteur {
namespace {

TEST(Texte, LesDeuxCentCinquanteSixOctetsFontLAllerRetour) {
    std::string tous;
    for (int i = 0; i < 256; ++i)
        tous += static_cast<char>(i);
    const Texte t = Texte::depuisCp1252(tous);
    EXPECT_TRUE(EstUtf8Valide(t.utf8()));
    EXPECT_EQ(t.versCp1252(), tous);
    EXPECT_EQ(t.longueur(), 256u);
}

TEST(Texte, CorrespondancesConnuesEtCaracteresSansForme) {
    EXPECT_EQ(Texte::depuisCp1252("\x80\x92\x9c\xe9\xa0").utf8(), "€’œé\u00a0");
    EXPECT_EQ(Texte("Téléchargement…").versCp1252(), "T\xe9l\xe9"
                                                     "chargement\x85");
    EXPECT_EQ(Texte("日本 ok").versCp1252(), "?? ok");
    Texte t("a");
    t += Texte("é");
    EXPECT_EQ(t.longueur(), 2u);
}

TEST(Texte, DecodageDesTextesDuServeur) {
    EXPECT_EQ(DecoderTexteServeur("Mise à jour"), "Mise à jour");
    EXPECT_EQ(DecoderTexteServeur("Mise \xe0 jour"), "Mise à jour");
    // Une séquence tronquée ou trop longue n'est pas de l'UTF-8 valide.
    EXPECT_EQ(DecoderTexteServeur("\xc3"), "Ã");
    EXPECT_FALSE(EstUtf8Valide("\xc0\xaf"));
    EXPECT_FALSE(EstUtf8Valide("\xed\xa0\x80"));
}

TEST(Texte, CouperUtf8NeCoupeJamaisUnCaractere) {
    EXPECT_EQ(CouperUtf8("aé", 2), "a");
    EXPECT_EQ(CouperUtf8("aé", 3), "aé");
    EXPECT_EQ(CouperUtf8("€", 2), "");
}

#ifndef _WIN32 // Windows : ses dossiers connus (tests/win32/foundation)
TEST(DossiersUtilisateur, EmplacementsXdg) {
    test::EnvironnementIsole env;
    EXPECT_EQ(DossierDonneesApplication(), env.Donnees());
    EXPECT_EQ(DossierDonneesLocales(), env.DonneesLocales());
    EXPECT_EQ(DossierSysteme(), env.Systeme());
    EXPECT_EQ(DossierBureau(), env.Bureau());
    test::EcrireFichier(env.ConfigUtilisateur() + "/user-dirs.dirs",
                        "# x\nXDG_DESKTOP_DIR=\"$HOME/Bureau\"\n");
    EXPECT_EQ(DossierBureau(), env.Home() + "/Bureau");
    test::VariableTemporaire sansDonnees("XDG_DATA_HOME", std::nullopt);
    EXPECT_EQ(DossierDonneesApplication(), env.Home() + "/.local/share");
    test::VariableTemporaire etat("XDG_STATE_HOME", env.Racine() / "etat");
    EXPECT_EQ(DossierDonneesLocales(), env.Racine() / "etat");
    EXPECT_FALSE(CheminProgramme().empty());
}
#endif

} // namespace
} // namespace emporteur
