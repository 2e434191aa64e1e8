#include "messages/Journal.h"
#include "foundation/InterfaceUtilisateur.h"
#include "outils/DossierTemporaire.h"

#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace emporteur {
namespace {

using namespace style;
using enum Reponse;

TEST(Journal, FormatDesLignes) {
    EXPECT_EQ(CorpsLigneJournal(MB_YESNO | MB_ICONEXCLAMATION, "Texte\r\rDétail", Oui),
              "(Attention)\tréponse=Oui\t\"Texte\t\tDétail\"\r\n");
    EXPECT_EQ(CorpsLigneJournal(MB_OK, "x", Ok), "\tréponse=Ok\t\"x\"\r\n");
    EXPECT_EQ(CorpsLigneJournal(MB_ICONQUESTION, "", Non), "(Question)\tréponse=Non\t\"\"\r\n");
    EXPECT_EQ(CorpsLigneJournal(MB_ICONHAND, "", Annuler), "(ALERTE)\tréponse=Cancel\t\"\"\r\n");
    EXPECT_EQ(CorpsLigneJournal(MB_ICONASTERISK, "", Abandonner),
              "(Information)\tréponse=Annuler\t\"\"\r\n");
    EXPECT_EQ(CorpsLigneJournal(0, "", Reessayer), "\tréponse=Réessayer\t\"\"\r\n");
    EXPECT_EQ(CorpsLigneJournal(0, "", Reponse{}), "\tréponse=0\t\"\"\r\n");
    EXPECT_EQ(CorpsLigneJournal(0, "", Continuer), "\tréponse=11\t\"\"\r\n");
    EXPECT_TRUE(std::regex_match(Horodatage(),
                                 std::regex(R"(20\d\d/\d\d/\d\d\t\d\d:\d\d:\d\d\.0\d\d\d\t)")));
}

TEST(Journal, FichierDansLesDonneesDeLApplicationEtAjoutsSeulement) {
    test::EnvironnementIsole env;
    const std::string chemin = env.Donnees() + "/Mervane/Orthalis/Emporteur.log";
    EXPECT_EQ(Journal::CheminFichier(), chemin);
    test::EcrireFichier(chemin, "ancienne ligne\r\n");
    {
        Journal journal;
        journal.EcrireLigne(MB_ICONEXCLAMATION | MB_YESNO, "Question ?", Oui);
        journal.EcrireLigne(MB_OK, "Bonjour", Ok);
    }
    const std::string contenu = test::LireFichier(chemin);
    EXPECT_EQ(contenu.rfind("ancienne ligne\r\n20", 0), 0u);
    EXPECT_NE(contenu.find("\t(Attention)\tréponse=Oui\t\"Question ?\"\r\n"), std::string::npos);
    const std::string fin = "\"\r\n\tréponse=Ok\t\"Bonjour\"\r\n"; // sans horodatage
    EXPECT_EQ(contenu.substr(contenu.size() - fin.size()), fin);
}

TEST(Journal, DeuxProcessusNeMelentJamaisLeursLignes) {
    test::EnvironnementIsole env;
    const std::string ligne(3000, 'x');
    pid_t enfants[2];
    for (pid_t& enfant : enfants) {
        enfant = ::fork();
        if (enfant == 0) {
            Journal journal;
            for (int i = 0; i < 200; ++i)
                journal.EcrireLigne(MB_OK, ligne, Ok);
            ::_exit(0);
        }
    }
    for (pid_t enfant : enfants)
        ::waitpid(enfant, nullptr, 0);
    std::istringstream contenu(test::LireFichier(Journal::CheminFichier()));
    std::string lue;
    int lignes = 0;
    while (std::getline(contenu, lue)) {
        ASSERT_EQ(lue, "\tréponse=Ok\t\"" + ligne + "\"\r");
        ++lignes;
    }
    EXPECT_EQ(lignes, 400);
}

TEST(Journal, FichierImpossibleAOuvrirSeTait) {
    test::EnvironnementIsole env;
    // Un fichier à la place du dossier : rien ne peut être créé, sans erreur.
    test::EcrireFichier(env.Donnees() + "/Mervane", "");
    Journal journal;
    journal.EcrireLigne(MB_OK, "perdu", Ok);
    journal.EcrireLigne(MB_OK, "perdu aussi", Ok);
    EXPECT_EQ(test::LireFichier(Journal::CheminFichier()), "");
}

} // namespace
} // namespace emporteur
