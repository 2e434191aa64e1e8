// Plusieurs connexions par fichier : mêmes octets, même journal dans l'ordre des
// segments, crédit de reprise commun, un serveur sans plages ramené à un corps.
#include "BancTache.h"

#include <future>
#include <thread>

namespace emporteur::test {
namespace {

using namespace std::chrono_literals;

const std::string kMaximum =
    "Échec de téléchargement : atteinte du nombre maximal d'erreurs de transfert (3).";

// Numéros de segment des lignes « Segment i de n... » du téléchargement (avant la
// concaténation), dans l'ordre du journal.
std::vector<int> OrdreDesSegments(const std::vector<std::string>& lignes) {
    std::vector<int> ordre;
    for (const auto& l : lignes) {
        if (l == "Concaténation des segments.") break;
        if (l.starts_with("Segment ")) ordre.push_back(std::stoi(l.substr(8)));
    }
    return ordre;
}

TEST_F(BancTache, QuatreConnexionsSansPanneDonnentLeMemeJournalQuUne) {
    const std::string contenu = Octets(40 * 1000 - 123, 31);
    Ajouter("f.bin", contenu, 1000);
    EcrireFichier(Segment("f.bin", 5), contenu.substr(5000, 1000)); // déjà là
    EXPECT_EQ(Executer(), 0) << Journal();
    const std::string journalUne = Journal();
    std::filesystem::remove(Chemin("f.bin"));
    EcrireFichier(Segment("f.bin", 5), contenu.substr(5000, 1000));
    serveur.OublierRequetes();
    connexions = 4;
    EXPECT_EQ(Executer(), 0) << Journal();
    EXPECT_EQ(Journal(), journalUne);
    EXPECT_EQ(LireFichier(Chemin("f.bin")), contenu);
    EXPECT_EQ(Segments("f.bin"), 0);
    // Les suites à recevoir coupées en parts : plusieurs requêtes, aucun octet deux fois.
    const auto plages = serveur.Plages("/rep/f.bin");
    EXPECT_GE(plages.size(), 4u);
    std::uint64_t servis = 0;
    for (const auto& p : plages)
        servis += p.fin - p.debut + 1;
    EXPECT_EQ(servis, contenu.size() - 1000);
}

// Une corruption, une coupure et un blocage sur des requêtes différentes : le fichier
// est juste, chaque panne est dite sur la ligne de son segment, et le journal reste
// dans l'ordre. La première requête part seule : c'est elle qui se bloque ; la
// deuxième, l'une des trois autres parts, est coupée ; la part [30, 40) arrive abîmée
// à son 36e segment (deux fois si la coupure l'a prise d'abord).
TEST_F(BancTache, QuatreConnexionsAvecCorruptionCoupureEtBlocage) {
    VariableTemporaire blocage("EMPORTEUR_DELAI_BLOCAGE", "1"); // 1 s sans octet : bloqué
    const std::string contenu = Octets(40 * 1000, 32);
    Ajouter("f.bin", contenu, 1000);
    serveur.Bloquer("/rep/f.bin", 1500, 1);           // la première requête, segment 2
    serveur.CouperApres("/rep/f.bin", 3500, 2);       // la deuxième (la première se bloque avant)
    serveur.Corrompre("/rep/f.bin", 35500, 35501, 2); // segment 36
    connexions = 4;
    EXPECT_EQ(Executer(), 0) << Journal();
    EXPECT_EQ(LireFichier(Chemin("f.bin")), contenu);
    const auto lignes = LignesJournal();
    const auto compter = [&](const std::string& motif) {
        return std::count_if(lignes.begin(), lignes.end(), [&](const std::string& l) {
            return l.find(motif) != std::string::npos;
        });
    };
    EXPECT_TRUE(std::any_of(lignes.begin(), lignes.end(), [](const std::string& l) {
        return l.starts_with("Segment 2 de 40... Erreur de téléchargement : \"Le délai");
    })) << Journal();
    EXPECT_EQ(compter("... Erreur de téléchargement"), 2) << Journal(); // blocage et coupure
    const auto corrompus = compter("Segment 36 de 40... Téléchargement corrompu");
    EXPECT_TRUE(corrompus == 1 || corrompus == 2) << Journal();
    EXPECT_EQ(compter("Téléchargement corrompu"), corrompus);
    const auto ordre = OrdreDesSegments(lignes);
    EXPECT_TRUE(std::is_sorted(ordre.begin(), ordre.end())) << Journal();
    for (int i = 1; i <= 40; ++i)
        EXPECT_TRUE(Contient(lignes, "Segment " + std::to_string(i) + " de 40... réussi."));
    EXPECT_EQ(attentes.size(), 2u); // le blocage et la coupure font attendre
}

// Chaque requête coupée avant la fin de son premier segment : trois échecs en tout,
// toutes connexions comprises, épuisent le crédit du fichier.
TEST_F(BancTache, LeCreditCompteLesEchecsDeToutesLesConnexions) {
    Ajouter("f.bin", Octets(40 * 1000, 33), 1000);
    serveur.CouperApres("/rep/f.bin", 500);
    connexions = 4;
    EXPECT_EQ(Executer(), 1);
    const auto lignes = LignesJournal();
    EXPECT_EQ(std::count_if(lignes.begin(), lignes.end(),
                            [](const std::string& l) { return l.ends_with(kMaximum); }),
              1)
        << Journal();
    // Trois échecs en tout, plus ceux déjà en vol sur les autres connexions ; pas 4 × 3.
    EXPECT_LE(serveur.Requetes("/rep/f.bin"), 3 + 3);
    EXPECT_GE(serveur.Requetes("/rep/f.bin"), 3);
    const auto ordre = OrdreDesSegments(lignes);
    EXPECT_TRUE(std::is_sorted(ordre.begin(), ordre.end())) << Journal();
    EXPECT_FALSE(ensemble.Fichiers[0]->EstReussi);
}

// Un serveur qui ignore les plages ne coûte qu'un corps, même à quatre connexions : les
// autres ne partent qu'après le premier octet d'une réponse à plage.
TEST_F(BancTache, QuatreConnexionsEtUnServeurSansPlages) {
    const std::string contenu = Octets(40 * 1000, 34);
    Ajouter("f.bin", contenu, 1000);
    for (std::uint32_t i = 0; i < 40; i += 2)
        EcrireFichier(Segment("f.bin", i), contenu.substr(i * 1000, 1000));
    serveur.IgnorerPlage("/rep/f.bin");
    connexions = 4;
    EXPECT_EQ(Executer(), 0) << Journal();
    EXPECT_EQ(LireFichier(Chemin("f.bin")), contenu);
    EXPECT_EQ(serveur.Requetes("/rep/f.bin"), 1);
    const auto ordre = OrdreDesSegments(LignesJournal());
    EXPECT_TRUE(std::is_sorted(ordre.begin(), ordre.end())) << Journal();
}

// Annuler arrête toutes les requêtes en vol dans la même seconde ; les segments déjà
// vérifiés restent.
TEST_F(BancTache, AnnulerArreteToutesLesConnexions) {
    Ajouter("lent.bin", Octets(400000, 35), 10000);
    serveur.Ralentir("/rep/lent.bin", 1000, 20ms);
    connexions = 4;
    auto& t = Preparer();
    auto fil = std::async(std::launch::async, TacheTelechargement::ProcedureFil, &t);
    const auto limite = std::chrono::steady_clock::now() + 20s;
    while (t.Etat().Journal().find("réussi.") == std::string::npos &&
           std::chrono::steady_clock::now() < limite)
        std::this_thread::sleep_for(10ms);
    const auto debut = std::chrono::steady_clock::now();
    EXPECT_TRUE(t.Annuler());
    EXPECT_LT(std::chrono::steady_clock::now() - debut, 1s);
    ASSERT_EQ(fil.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(fil.get(), 0);
    EXPECT_FALSE(Existe("lent.bin"));
    EXPECT_GE(Segments("lent.bin"), 1);
}

} // namespace
} // namespace emporteur::test
