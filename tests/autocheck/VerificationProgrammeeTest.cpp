#include "autocheck/VerificationProgrammee.h"
#include "autocheck/DernierAvis.h"
#include "outils/DossierTemporaire.h"
#include "outils/InterfaceEnregistreuse.h"

#include <gtest/gtest.h>

namespace emporteur {
namespace {

// Une offre vue par la vérification : la mise à jour qui convient (vide : aucune),
// le majeur de la boutique, la version installée, et si la boutique est plus récente.
struct Offre {
    std::string versionMaj;
    int majeurBoutique = 6;
    bool miseANiveau = false;
    std::string installee = "6.1.0.12";
};

class VerificationProgrammee : public ::testing::Test {
  protected:
    void Preparer(const Offre& offre) {
        ctx.Recettes.clear();
        ctx.IndiceChoisi = -1;
        if (!offre.versionMaj.empty()) {
            ctx.Recettes.push_back(std::make_unique<Recette>());
            ctx.Recettes.back()->VersionMaj = offre.versionMaj;
            ctx.IndiceChoisi = 0;
        }
        ctx.MajeurBoutique = offre.majeurBoutique;
        ctx.VersionInstallee = offre.installee;
    }
    // Ce que décide le minuteur, le dernier avis relu du registre comme au lancement.
    DecisionProgrammee Decider(const Offre& offre) {
        Preparer(offre);
        const DernierAvis relu;
        return DeciderVerification(ctx, !offre.versionMaj.empty(), offre.miseANiveau, relu);
    }
    // L'utilisateur coche « Ne plus aviser » devant cette offre.
    void Ecarter(const Offre& offre) {
        Preparer(offre);
        DernierAvis avis;
        NoterAvis(ctx, avis);
    }

    test::EnvironnementIsole env;
    test::InterfaceEnregistreuse ui;
    ContexteTelechargement ctx{ModeExecution::MajDiscrete, ui};
};

TEST_F(VerificationProgrammee, TouteNouveauteLanceSansAvisNote) {
    EXPECT_EQ(Decider({"6.2.0.3", 6, false}), DecisionProgrammee::Lancer);
    EXPECT_EQ(Decider({"", 7, true}), DecisionProgrammee::Lancer);
}

TEST_F(VerificationProgrammee, RienDeNeufNeLanceRien) {
    EXPECT_EQ(Decider({"", 6, false}), DecisionProgrammee::RienDeNeuf);
    Ecarter({"6.2.0.3", 7, true});
    EXPECT_EQ(Decider({"", 6, false}), DecisionProgrammee::RienDeNeuf);
}

// Chaque ligne : l'offre écartée pour de bon, puis celle du catalogue d'aujourd'hui.
TEST_F(VerificationProgrammee, SeuleLOffreEcarteeTelleQuelleNeLancePas) {
    const std::string longue = "6.2.0.3-correctif-du-printemps"; // coupée à 19 octets
    const struct {
        const char* cas;
        Offre ecartee, aujourdhui;
        DecisionProgrammee attendue;
    } cas[] = {
        {"même offre", {"6.2.0.3", 7, true}, {"6.2.0.3", 7, true}, DecisionProgrammee::DejaEcartee},
        {"mise à jour seule", {"6.2.0.3", 6}, {"6.2.0.3", 6}, DecisionProgrammee::DejaEcartee},
        {"version coupée", {longue, 6}, {longue, 6}, DecisionProgrammee::DejaEcartee},
        {"mise à niveau seule", {"", 7, true}, {"", 7, true}, DecisionProgrammee::DejaEcartee},
        {"mise à jour plus récente",
         {"6.2.0.3", 7, true},
         {"6.2.0.4", 7, true},
         DecisionProgrammee::Lancer},
        {"boutique plus récente",
         {"6.2.0.3", 7, true},
         {"6.2.0.3", 8, true},
         DecisionProgrammee::Lancer},
        {"mise à jour apparue", {"", 7, true}, {"6.2.0.3", 7, true}, DecisionProgrammee::Lancer},
        {"autre version installée",
         {"", 7, true, "6.1.0.12"},
         {"", 7, true, "6.1.0.13"},
         DecisionProgrammee::Lancer},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.cas);
        Ecarter(c.ecartee);
        EXPECT_EQ(Decider(c.aujourdhui), c.attendue);
    }
}

} // namespace
} // namespace emporteur
