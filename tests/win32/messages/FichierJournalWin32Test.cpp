// Le fichier du journal sous Windows : ajouts seulement, octets tels quels (CR LF),
// partagé en lecture, et deux processus qui écrivent ensemble sans mêler leurs lignes.
#include "foundation/CheminNatif.h"
#include "messages/FichierJournal.h"
#include "messages/Journal.h"
#include "outils/DossierTemporaire.h"
#include "win32/ProcessusEnfant.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace emporteur {
namespace {

namespace fs = std::filesystem;
constexpr const char* kVariableEnfant = "EMPORTEUR_TEST_JOURNAL";
constexpr int kLignesParProcessus = 200;

std::string LigneDe(char marque) {
    return CorpsLigneJournal(MB_OK, std::string(3000, marque), Reponse::Ok);
}

struct FichierJournalWin32 : ::testing::Test {
    test::DossierTemporaire tmp;
    std::string dossier = tmp.Chemin() + "/Élodie/Mervane/Orthalis/";
    std::string chemin = dossier + "Emporteur.log";
    void SetUp() override { fs::create_directories(CheminNatif(dossier)); }
};

TEST_F(FichierJournalWin32, AjoutsSeulementEtOctetsTelsQuels) {
    test::EcrireFichier(chemin, "ancienne ligne\r\n");
    FichierJournal journal;
    ASSERT_TRUE(journal.Ouvrir(chemin));
    const std::string ligne =
        CorpsLigneJournal(MB_YESNO | MB_ICONEXCLAMATION, "Texte\r\rDétail", Reponse::Oui);
    journal.Ajouter(ligne);
    // Ouvert, il reste lisible par les autres (le journal se lit pendant que le programme vit).
    EXPECT_EQ(test::LireFichier(chemin), "ancienne ligne\r\n" + ligne);
    journal.Ajouter("\tréponse=Ok\t\"x\"\r\n");
    EXPECT_EQ(test::LireFichier(chemin), "ancienne ligne\r\n" + ligne + "\tréponse=Ok\t\"x\"\r\n");
    FichierJournal impossible;
    EXPECT_FALSE(impossible.Ouvrir(dossier + "absent/Emporteur.log"));
    impossible.Ajouter("perdue"); // sans effet ni plantage
}

// Tout le chemin du journal : dossier des données de l'application, fichier du
// produit, ligne horodatée ajoutée telle que sous Linux.
TEST_F(FichierJournalWin32, LigneDuJournalDuProcessus) {
    const std::string fichier = Journal::CheminFichier();
    ASSERT_TRUE(fichier.ends_with("/Mervane/Orthalis/Emporteur.log")) << fichier;
    const std::string avant = test::LireFichier(fichier);
    {
        Journal journal;
        journal.EcrireLigne(MB_ICONEXCLAMATION | MB_YESNO, "Question ?\rDétail", Reponse::Oui);
    }
    const std::string apres = test::LireFichier(fichier);
    ASSERT_EQ(apres.rfind(avant, 0), 0u); // rien de l'ancien contenu n'est touché
    const std::string ajout = apres.substr(avant.size());
    const std::string corps = "\t(Attention)\tréponse=Oui\t\"Question ?\tDétail\"\r\n";
    EXPECT_TRUE(ajout.starts_with("20")) << ajout;
    EXPECT_TRUE(ajout.ends_with(corps)) << ajout;
    EXPECT_EQ(ajout.size(), Horodatage().size() - 1 + corps.size()) << ajout;
}

// Le processus enfant : ses lignes, toutes de la même lettre.
TEST_F(FichierJournalWin32, ProcessusEnfant) {
    const std::string parametres = test::Variable(kVariableEnfant);
    if (parametres.empty()) GTEST_SKIP() << "lancé par DeuxProcessusNeMelentPasLeursLignes";
    FichierJournal journal;
    ASSERT_TRUE(journal.Ouvrir(parametres.substr(1)));
    for (int i = 0; i < kLignesParProcessus; ++i)
        journal.Ajouter(LigneDe(parametres[0]));
}

TEST_F(FichierJournalWin32, DeuxProcessusNeMelentPasLeursLignes) {
    test::ProcessusEnfant a("FichierJournalWin32.ProcessusEnfant", kVariableEnfant, "a" + chemin);
    test::ProcessusEnfant b("FichierJournalWin32.ProcessusEnfant", kVariableEnfant, "b" + chemin);
    ASSERT_TRUE(a.Lance() && b.Lance());
    EXPECT_EQ(a.Attendre(120000), 0);
    EXPECT_EQ(b.Attendre(120000), 0);
    std::istringstream contenu(test::LireFichier(chemin));
    std::string lue;
    int lignes[2] = {0, 0};
    while (std::getline(contenu, lue)) {
        lue += '\n';
        ASSERT_TRUE(lue == LigneDe('a') || lue == LigneDe('b')) << lue.substr(0, 80);
        ++lignes[lue == LigneDe('b')];
    }
    EXPECT_EQ(lignes[0], kLignesParProcessus);
    EXPECT_EQ(lignes[1], kLignesParProcessus);
}

} // namespace
} // namespace emporteur
