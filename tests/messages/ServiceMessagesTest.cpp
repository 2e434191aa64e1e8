#include "messages/ServiceMessages.h"
#include "foundation/CleRegistre.h"
#include "messages/Journal.h"
#include "outils/DossierTemporaire.h"
#include "outils/InterfaceEnregistreuse.h"
#include "outils/RegistreMachine.h"

#include <gtest/gtest.h>
#include <regex>

namespace emporteur {
namespace {

constexpr const char* kCleSilence = "Software\\Mervane\\Orthalis\\6.0\\InstallationSilencieuse";
constexpr unsigned kStyleCommun = 0x52000;

class ServiceMessages : public ::testing::Test {
  protected:
    void EcrireUtilisateur(const std::string& nom, const std::string& texte) {
        CleOuverte cle;
        ASSERT_EQ(CreerCle(HKEY_CURRENT_USER, kCleSilence, KEY_READ | KEY_WRITE, cle), 0);
        ASSERT_EQ(cle.EcrireTexte(nom, texte), 0);
    }
    void EcrireForcage(std::uint32_t valeur) {
        CleOuverte cle;
        ASSERT_EQ(CreerCle(HKEY_CURRENT_USER, kCleSilence, KEY_READ | KEY_WRITE, cle), 0);
        ASSERT_EQ(cle.EcrireDword("SilForcay", valeur), 0);
    }
    void Effacer(const std::string& nom) {
        CleOuverte cle;
        ASSERT_EQ(CreerCle(HKEY_CURRENT_USER, kCleSilence, KEY_READ | KEY_WRITE, cle), 0);
        cle.EcrireValeur(nom, REG_BINARY, "", 0); // ni texte ni DWORD : ne compte plus
    }
    void EcrireMachine(const std::string& texte) {
        ASSERT_EQ(test::EcrireTexteMachine(kCleSilence, "R", texte), 0);
    }
    std::string Log() const {
        return test::LireFichier(env.Donnees() + "/Mervane/Orthalis/Emporteur.log");
    }

    test::EnvironnementIsole env;
    test::InterfaceEnregistreuse ui;
};

TEST_F(ServiceMessages, ReglesDuModeSilencieux) {
    EXPECT_FALSE(InstallationSilencieuseActive()); // rien du tout
    EcrireMachine("10");
    EXPECT_TRUE(InstallationSilencieuseActive()); // R sans D
    EcrireUtilisateur("D", "9");
    EXPECT_TRUE(InstallationSilencieuseActive());
    EcrireUtilisateur("D", "10");
    EXPECT_FALSE(InstallationSilencieuseActive());
    EcrireUtilisateur("D", "  +11 et plus");
    EXPECT_FALSE(InstallationSilencieuseActive());
    EcrireMachine("5");
    EcrireUtilisateur("D", "5");
    EXPECT_FALSE(InstallationSilencieuseActive());
    // Comparés non signés : -1 est le plus grand des marques.
    EcrireUtilisateur("D", "-1");
    EXPECT_FALSE(InstallationSilencieuseActive());
    EcrireMachine("-1");
    EcrireUtilisateur("D", "7");
    EXPECT_TRUE(InstallationSilencieuseActive());

    // SilForcay décide seul ; en texte il ne compte pas.
    EcrireForcage(0);
    EXPECT_FALSE(InstallationSilencieuseActive());
    EcrireForcage(2);
    EXPECT_FALSE(InstallationSilencieuseActive());
    EcrireMachine("5");
    EcrireUtilisateur("D", "5");
    EcrireForcage(1);
    EXPECT_TRUE(InstallationSilencieuseActive());
    EcrireUtilisateur("SilForcay", "1");
    EXPECT_FALSE(InstallationSilencieuseActive());

    // R sans chiffres vaut 0 mais existe : silencieux tant que D manque.
    Effacer("SilForcay");
    Effacer("D");
    EcrireMachine("aucun chiffre");
    EXPECT_TRUE(InstallationSilencieuseActive());
    EcrireUtilisateur("D", "0");
    EXPECT_FALSE(InstallationSilencieuseActive());
}

TEST_F(ServiceMessages, SansRMemeUnDPlusPetitNeRendPasSilencieux) {
    EcrireUtilisateur("D", "0");
    EXPECT_FALSE(InstallationSilencieuseActive());
}

TEST_F(ServiceMessages, EnSilenceLaReponseParDefautEstJournalisee) {
    EcrireForcage(1);
    using enum CodeReponse;
    struct Cas {
        int jeu;
        CodeReponse code;
        const char* mot;
    };
    const Cas cas[] = {{0, Oui, "0"},
                       {1, Reessayer, "Réessayer"},
                       {2, Ok, "Ok"},
                       {3, Ok, "Ok"},
                       {4, Oui, "Oui"},
                       {5, Oui, "Oui"},
                       {6, Reessayer, "Réessayer"},
                       {7, Continuer, "11"},
                       {9, Ok, "Ok"},
                       {12, Ok, "Ok"}};
    std::string attendu;
    for (const Cas& c : cas) {
        const std::string texte = "jeu " + std::to_string(c.jeu);
        EXPECT_EQ(AfficherMessage(ui, 0, texte, "", c.jeu), c.code) << c.jeu;
        attendu += "\tréponse=" + std::string(c.mot) + "\t\"" + texte + "\"\r\n";
    }
    // Le jeu 8 : aucune boîte, aucune ligne, même en silence.
    EXPECT_EQ(AfficherMessage(ui, 2, "rien", "", 8), Oui);
    EXPECT_EQ(Log(), attendu); // genre 0 : ni horodatage ni étiquette

    // Genre 3 avec détail : horodatage, étiquette, deux tabulations.
    EXPECT_EQ(AfficherMessage(ui, 3, "Texte é", "Détail", 4), Oui);
    EXPECT_EQ(AfficherMessage(ui, 9, "genre inconnu", "", 2), Ok);
    const std::string log = Log();
    ASSERT_EQ(log.rfind(attendu, 0), 0u);
    EXPECT_TRUE(std::regex_match(
        log.substr(attendu.size()),
        std::regex("20\\d\\d/\\d\\d/\\d\\d\t\\d\\d:\\d\\d:\\d\\d\\.0\\d\\d\\d\t\\(Attention\\)"
                   "\tréponse=Oui\t\"Texte é\t\tDétail\"\r\n"
                   "\tréponse=Ok\t\"genre inconnu\"\r\n")))
        << log.substr(attendu.size());
    EXPECT_TRUE(ui.Appels().empty());
}

TEST_F(ServiceMessages, HorsSilenceUneBoiteEtRienAuJournal) {
    using enum CodeReponse;
    const struct {
        Reponse reponse;
        CodeReponse code;
    } retours[] = {{Reponse::Abandonner, Abandonner},
                   {Reponse::Annuler, Annuler},
                   {Reponse::Continuer, Continuer},
                   {Reponse::Ignorer, Ignorer},
                   {Reponse::Non, Non},
                   {Reponse::Ok, Ok},
                   {Reponse::Oui, Oui},
                   {Reponse::Fermer, Fermer},
                   {Reponse::Reessayer, Reessayer},
                   {Reponse::Aide, Oui},
                   {Reponse::Recommencer, Oui},
                   {Reponse{}, Oui}};
    for (const auto& r : retours) {
        ui.reponses = {r.reponse};
        EXPECT_EQ(AfficherMessage(ui, 1, "Question ?", "Détail", 5), r.code)
            << static_cast<int>(r.reponse);
    }
    const auto boites = ui.Appels("BoiteMessage");
    ASSERT_EQ(boites.size(), std::size(retours));
    EXPECT_EQ(boites[0].texte, "Question ?\r\rDétail");
    EXPECT_EQ(boites[0].titre, "Emporteur");
    EXPECT_EQ(boites[0].style, MB_YESNOCANCEL | MB_ICONQUESTION | kStyleCommun);

    const struct {
        int genre, jeu;
        unsigned style;
    } styles[] = {{0, 0, MB_ABORTRETRYIGNORE},
                  {2, 1, MB_ABORTRETRYIGNORE | MB_ICONHAND},
                  {3, 3, MB_OKCANCEL | MB_ICONEXCLAMATION},
                  {4, 6, MB_RETRYCANCEL | MB_ICONASTERISK},
                  {5, 7, MB_OK},
                  {-1, 4, MB_YESNO}};
    for (const auto& s : styles) {
        AfficherMessage(ui, s.genre, "Sans détail", "", s.jeu);
        EXPECT_EQ(ui.Appels().back().style, s.style | kStyleCommun) << s.genre << "/" << s.jeu;
        EXPECT_EQ(ui.Appels().back().texte, "Sans détail");
    }
    // Jeu 8 : aucune boîte hors silence non plus.
    const auto avant = ui.Appels().size();
    EXPECT_EQ(AfficherMessage(ui, 1, "x", "", 8), Oui);
    EXPECT_EQ(ui.Appels().size(), avant);
    EXPECT_EQ(Log(), "");
}

TEST(CodesDeReponse, AllerEtRetour) {
    for (int c : {0, 1, 2, 4, 5, 7, 8, 10, 11})
        EXPECT_EQ(CodeDIdentifiant(IdentifiantDeCode(CodeReponse{c})), CodeReponse{c}) << c;
    for (int c : {3, 6, 9, 12, -1})
        EXPECT_EQ(IdentifiantDeCode(CodeReponse{c}), Reponse{}) << c;
}

} // namespace
} // namespace emporteur
