// L'exécuteur commun de la tâche, contre un vrai serveur : fin normale, annulation
// d'un transfert bloqué réveillée par la fin du fil, tâche sans ensemble.
#include "assistant/ExecuteurTache.h"
#include "download/Crc32.h"
#include "outils/DossierTemporaire.h"
#include "outils/InterfaceEnregistreuse.h"
#include "outils/ServeurDefaillant.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

namespace emporteur {
namespace {

using namespace std::chrono_literals;

class Executeur : public ::testing::Test {
  protected:
    Executeur() {
        ensemble.Dossier = destination.Chemin() + "/";
        serveur.AjouterFichier("/rep/a.bin", contenu);
        auto ing = std::make_unique<Ingredient>();
        ing->Site = serveur.Hote();
        ing->Repertoire = "rep";
        ing->NomDistant = ing->NomLocal = "a.bin";
        ing->Taille = static_cast<std::int32_t>(contenu.size());
        ing->TailleSegment = ing->Taille;
        ing->Crcs = {Crc32(0, contenu.data(), contenu.size())};
        ensemble.Fichiers.push_back(std::move(ing));
    }

    test::EnvironnementIsole env;
    test::DossierTemporaire destination;
    test::ServeurDefaillant serveur;
    test::InterfaceEnregistreuse ui;
    const std::string contenu = test::OctetsReproductibles(200000, 7);
    EnsembleFichiers ensemble;
};

TEST_F(Executeur, LaTacheVaAuBoutEtLeReleveLeDit) {
    ExecuteurTache execution(&ensemble, &ui);
    EXPECT_FALSE(execution.Code());
    execution.Demarrer();
    execution.Demarrer(); // une seule tâche, un seul fil
    ASSERT_TRUE(execution.AttendreFin(60s));
    EXPECT_EQ(execution.Code(), 0);
    const auto releve = execution.Relever();
    EXPECT_TRUE(releve.Fini);
    EXPECT_TRUE(releve.JournalChange);
    EXPECT_FALSE(execution.Journal().empty());
    // Un second relevé ne recopie pas un journal inchangé, mais le garde.
    EXPECT_FALSE(execution.Relever().JournalChange);
    EXPECT_FALSE(execution.Journal().empty());
    EXPECT_EQ(test::LireFichier(destination / "a.bin"), contenu);
    EXPECT_EQ(serveur.Requetes("/rep/a.bin"), 1);
}

TEST_F(Executeur, AnnulerEstReveilleParLaFinDuFil) {
    // Le serveur envoie un peu puis se tait : sans annulation, le fil attendrait 30 s.
    serveur.Bloquer("/rep/a.bin", 1000);
    ExecuteurTache execution(&ensemble, &ui);
    execution.Demarrer();
    while (serveur.Requetes("/rep/a.bin") == 0)
        execution.AttendreFin(10ms);
    EXPECT_FALSE(execution.AttendreFin(200ms)); // il attend bien
    const auto debut = std::chrono::steady_clock::now();
    EXPECT_TRUE(execution.Annuler());
    // Bien avant la borne de 10 s : la fin du fil réveille l'attente.
    EXPECT_LT(std::chrono::steady_clock::now() - debut, 5s);
    EXPECT_TRUE(execution.ArretDemande());
    ASSERT_TRUE(execution.Code()); // rendu dès le réveil
    // Un fichier annulé n'est pas assemblé.
    EXPECT_FALSE(std::filesystem::exists(destination / "a.bin"));
}

TEST_F(Executeur, SansEnsembleLeFilRendUnEchecEtLaDestructionJoint) {
    ExecuteurTache sansEnsemble(nullptr, &ui);
    sansEnsemble.Demarrer();
    ASSERT_TRUE(sansEnsemble.AttendreFin(30s));
    EXPECT_EQ(sansEnsemble.Code(), 1);

    // Jamais démarré : rien à attendre, aucun code.
    ExecuteurTache jamais(&ensemble, &ui);
    EXPECT_FALSE(jamais.Annuler());
    EXPECT_FALSE(jamais.Code());

    // Détruit en plein transfert : l'arrêt est demandé et le fil joint.
    serveur.Bloquer("/rep/a.bin", 1000);
    {
        ExecuteurTache enCours(&ensemble, &ui);
        enCours.Demarrer();
        while (serveur.Requetes("/rep/a.bin") == 0)
            enCours.AttendreFin(10ms);
    }
    EXPECT_FALSE(std::filesystem::exists(destination / "a.bin"));
}

} // namespace
} // namespace emporteur
