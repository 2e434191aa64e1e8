// Reprise : seuls les segments manquants ou mauvais passent par le réseau, et rien de
// vérifié n'est perdu. Les compteurs du serveur en font la preuve.
#include "BancTache.h"

namespace emporteur::test {
namespace {

TEST_F(BancTache, JournalTypiqueDUnSegmentCorrompuUneFois) {
    const std::string contenu = Octets(30000);
    Ajouter("setup.exe", contenu, 10000);
    serveur.Corrompre("/rep/setup.exe", 15000, 15001, 1);
    EXPECT_EQ(Executer(), 0);
    EXPECT_EQ(Journal(), "Initialisation.\r\n"
                         "Téléchargement...\r\n"
                         "Segment 1 de 3... réussi.\r\n"
                         "Segment 2 de 3... Téléchargement corrompu : reprise du segment.\r\n"
                         "Segment 2 de 3... réussi.\r\n"
                         "Segment 3 de 3... réussi.\r\n"
                         "Concaténation des segments.\r\n"
                         "Segment 1 de 3... \r\n"
                         "Segment 2 de 3... \r\n"
                         "Segment 3 de 3... \r\n"
                         "Effacement des segments temporaires.\r\n");
    EXPECT_EQ(LireFichier(Chemin("setup.exe")), contenu);
    EXPECT_EQ(Segments("setup.exe"), 0);
    EXPECT_EQ(serveur.Plages("/rep/setup.exe"),
              (std::vector<PlageServie>{{0, 29999, 206}, {10000, 29999, 206}}));
    EXPECT_TRUE(ensemble.Fichiers[0]->EstReussi);
    EXPECT_EQ(ensemble.TailleTotale, 30000u);
    EXPECT_EQ(ensemble.TailleFaite, 30000u);
    EXPECT_TRUE(tache->Etat().EstFini());
}

TEST_F(BancTache, SegmentsLaissesParUneExecutionPrecedente) {
    const std::string contenu = Octets(40000);
    Ajouter("a.bin", contenu, 10000);
    EcrireFichier(Segment("a.bin", 0), contenu.substr(0, 10000));
    EcrireFichier(Segment("a.bin", 1), std::string(10000, 'x')); // abîmé
    EcrireFichier(Segment("a.bin", 2), contenu.substr(20000, 10000) + "surplus ignoré");
    EcrireFichier(Segment("a.bin", 3), contenu.substr(30000, 9999)); // trop court
    EXPECT_EQ(Executer(), 0);
    EXPECT_EQ(serveur.Plages("/rep/a.bin"),
              (std::vector<PlageServie>{{10000, 19999, 206}, {30000, 39999, 206}}));
    EXPECT_EQ(LireFichier(Chemin("a.bin")), contenu);
    EXPECT_EQ(Segments("a.bin"), 0);

    // Tous les segments présents et bons : aucune requête, assemblage, effacement.
    serveur.OublierRequetes();
    std::filesystem::remove(Chemin("a.bin"));
    for (std::uint32_t i = 0; i < 4; ++i)
        EcrireFichier(Segment("a.bin", i), contenu.substr(i * 10000, 10000));
    EXPECT_EQ(Executer(), 0);
    EXPECT_EQ(serveur.Requetes(), 0);
    EXPECT_EQ(LireFichier(Chemin("a.bin")), contenu);
    EXPECT_EQ(Segments("a.bin"), 0);
    EXPECT_EQ(ensemble.TailleFaite, 80000u); // aucune exécution ne le remet à zéro
}

TEST_F(BancTache, FichierCompletDejaPresentVerifieSansTransfert) {
    const std::string contenu = Octets(25000);
    Ajouter("complet.exe", contenu, 10000);
    EcrireFichier(Chemin("complet.exe"), contenu);
    EXPECT_EQ(Executer(), 0);
    EXPECT_EQ(serveur.Requetes(), 0);
    EXPECT_EQ(LireFichier(Chemin("complet.exe")), contenu);
    EXPECT_EQ(Segments("complet.exe"), 0);
    const auto lignes = LignesJournal();
    ASSERT_GE(lignes.size(), 6u);
    EXPECT_EQ(lignes[1], "Segmentation du fichier sur disque.");
    EXPECT_EQ(lignes[5], "Téléchargement...");
    EXPECT_EQ(lignes[6], "Segment 1 de 3... réussi.");
    EXPECT_TRUE(ensemble.Fichiers[0]->EstReussi);
}

TEST_F(BancTache, FichierAbimeOuTronqueNeRedemandeQueSesMauvaisSegments) {
    const std::string contenu = Octets(60000);
    Ajouter("abime.bin", contenu, 10000);
    std::string abime = contenu;
    for (std::size_t i = 19990; i < 20010; ++i) // à cheval sur les segments 2 et 3
        abime[i] = static_cast<char>(~abime[i]);
    EcrireFichier(Chemin("abime.bin"), abime);
    const std::string tronque = Octets(30000, 7);
    Ajouter("tronque.bin", tronque, 10000);
    EcrireFichier(Chemin("tronque.bin"), tronque.substr(0, 12000));
    // Un nom local porteur de jokers se cherche tel quel : le leurre ne le fait pas croire là.
    const std::string joker = Octets(3000, 8);
    Ajouter("joker*.bin", joker, 1000);
    EcrireFichier(Chemin("joker-leurre.bin"), "leurre");

    EXPECT_EQ(Executer(), 0) << Journal();
    EXPECT_EQ(serveur.Plages("/rep/abime.bin"), (std::vector<PlageServie>{{10000, 29999, 206}}));
    EXPECT_EQ(LireFichier(Chemin("abime.bin")), contenu);
    EXPECT_EQ(serveur.Plages("/rep/tronque.bin"), (std::vector<PlageServie>{{10000, 29999, 206}}));
    EXPECT_EQ(LireFichier(Chemin("tronque.bin")), tronque);
    EXPECT_EQ(LireFichier(Chemin("joker*.bin")), joker);
    EXPECT_EQ(LireFichier(Chemin("joker-leurre.bin")), "leurre");
}

} // namespace
} // namespace emporteur::test
