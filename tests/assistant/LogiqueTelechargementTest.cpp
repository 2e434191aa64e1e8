#include "assistant/LogiqueTelechargement.h"
#include "download/TacheTelechargement.h"
#include "outils/DossierTemporaire.h"

#include <gtest/gtest.h>

#include <thread>

namespace emporteur {
namespace {

using namespace std::chrono_literals;

TEST(PageTelechargement, LibellesDuReleve) {
    const std::pair<std::uint64_t, const char*> tailles[] = {
        {0, "0 octets (0,00 mégaoctets)"},
        {1234567, "1,234,567 octets (1,23 mégaoctets)"},
        {2147483647, "2147,483,647 octets (2147,48 mégaoctets)"},
        // Au-delà de 2 Gio, jamais le texte négatif d'un entier de 32 bits débordé.
        {3000000000, "3000,000,000 octets (3000,00 mégaoctets)"},
        {5000000000, "5000,000,000 octets (5000,00 mégaoctets)"}};
    for (const auto& [octets, attendu] : tailles)
        EXPECT_EQ(TexteTailleRestante(octets),
                  std::string("Taille des segments restants\u00A0: ") + attendu);
    EXPECT_EQ(TexteTempsApproximatif("1 min 00 s"), "Temps approximatif restant : 1 min 00 s");
}

// Drapeau d'échec déjà levé, annulation, code rendu par l'arrêt du suivi → issue.
TEST(ArretTelechargement, DecisionSelonLeCodeDuFil) {
    const struct {
        bool dejaSignale, annulation;
        std::optional<int> code;
        bool suiviArrete, quitter, annonce, suivant, signaleApres;
    } cas[] = {
        {false, false, 0, true, true, false, false, false},            // succès
        {false, false, 1, true, false, true, true, true},              // échec : annoncé, retenu
        {true, false, 1, false, true, false, false, true},             // Suivant après l'annonce
        {false, false, 2, true, true, false, false, false},            // fin inattendue
        {false, false, std::nullopt, true, true, false, false, false}, // code introuvable
        {false, true, std::nullopt, true, true, false, false, false},  // annulé en marche
        {false, true, 1, true, false, false, true, true},              // annulé après un échec
        {true, true, 1, false, true, false, false, true},
    };
    for (const auto& c : cas) {
        bool signale = c.dejaSignale;
        int appels = 0;
        const IssueArret issue = ArreterTelechargement(signale, c.annulation, [&] {
            ++appels;
            return c.code;
        });
        const std::string nom =
            std::to_string(c.code.value_or(-1)) + (c.annulation ? " annulé" : "");
        EXPECT_EQ(appels, c.suiviArrete ? 1 : 0) << nom;
        EXPECT_EQ(issue.Quitter, c.quitter) << nom;
        EXPECT_EQ(issue.AnnoncerEchec, c.annonce) << nom;
        EXPECT_EQ(issue.ActiverSuivant, c.suivant) << nom;
        EXPECT_EQ(signale, c.signaleApres) << nom;
    }
}

// Le drapeau de fin précède de peu le code du fil : pris à ce moment, le code
// doit être attendu, sans quoi un échec passerait pour un succès.
TEST(ArretTelechargement, LeCodeEstAttenduApresLaFinSeulement) {
    std::promise<void> depart;
    std::atomic<bool> fini{false};
    auto fil = std::async(std::launch::async, [&, go = depart.get_future()] {
        go.wait();
        fini = true;
        std::this_thread::sleep_for(100ms);
        return 1;
    });
    EXPECT_EQ(CodeSortieFil(fil, false), std::nullopt); // en marche : pas de code
    depart.set_value();
    while (!fini)
        std::this_thread::sleep_for(1ms);
    EXPECT_EQ(CodeSortieFil(fil, true), 1);
    EXPECT_EQ(CodeSortieFil(fil, true), std::nullopt); // déjà pris

    auto termine = std::async(std::launch::async, [] { return 2; });
    termine.wait();
    EXPECT_EQ(CodeSortieFil(termine, false), 2);
    std::future<int> aucun;
    EXPECT_EQ(CodeSortieFil(aucun, true), std::nullopt);
}

// La page telle qu'elle sera câblée, sur une vraie tâche : l'arrêt annule puis prend le code.
class ArretSurTache : public ::testing::Test {
  protected:
    IssueArret Arreter(TacheTelechargement& tache, std::future<int>& fil, bool annulation) {
        return ArreterTelechargement(signale, annulation, [&] {
            tache.Annuler();
            return CodeSortieFil(fil, tache.Etat().EstFini());
        });
    }
    static void AttendreFin(const TacheTelechargement& tache) {
        while (!tache.Etat().EstFini())
            std::this_thread::sleep_for(5ms);
    }
    bool signale = false;
    test::DossierTemporaire dossier;
};

TEST_F(ArretSurTache, SuccesPuisEchecAnnonceUneSeuleFois) {
    EnsembleFichiers vide; // aucun fichier : la tâche réussit
    vide.Dossier = dossier.Chemin() + "/";
    TacheTelechargement reussie(&vide);
    auto fil = std::async(std::launch::async, TacheTelechargement::ProcedureFil, &reussie);
    AttendreFin(reussie);
    EXPECT_TRUE(Arreter(reussie, fil, false).Quitter);

    TacheTelechargement sansEnsemble(nullptr); // échec d'initialisation, code 1
    auto filEchec =
        std::async(std::launch::async, TacheTelechargement::ProcedureFil, &sansEnsemble);
    AttendreFin(sansEnsemble);
    const IssueArret depart = Arreter(sansEnsemble, filEchec, false);
    EXPECT_FALSE(depart.Quitter);
    EXPECT_TRUE(depart.AnnoncerEchec);
    EXPECT_TRUE(depart.ActiverSuivant);
    const IssueArret suivant = Arreter(sansEnsemble, filEchec, false);
    EXPECT_TRUE(suivant.Quitter);
    EXPECT_FALSE(suivant.AnnoncerEchec);
}

TEST_F(ArretSurTache, AnnulationEnCoursSansMessage) {
    EnsembleFichiers ensemble;
    ensemble.Dossier = dossier.Chemin() + "/";
    ensemble.Fichiers.push_back(std::make_unique<Ingredient>());
    auto& f = *ensemble.Fichiers.back();
    f.NomLocal = "f.bin";
    f.Taille = 10;
    f.TailleSegment = 4;
    f.Crcs = {1, 2, 3};
    TacheTelechargement tache(&ensemble);
    std::atomic<bool> enMarche{false};
    // La requête d'espace tient la tâche en marche jusqu'à l'annulation.
    tache.RemplacerRequeteEspace([&](const std::string&, std::uint64_t& libre, int&) {
        enMarche = true;
        while (!tache.EstAnnulee())
            std::this_thread::sleep_for(5ms);
        libre = 1u << 20;
        return true;
    });
    auto fil = std::async(std::launch::async, TacheTelechargement::ProcedureFil, &tache);
    while (!enMarche)
        std::this_thread::sleep_for(1ms);
    const auto debut = std::chrono::steady_clock::now();
    const IssueArret issue = Arreter(tache, fil, true);
    EXPECT_LT(std::chrono::steady_clock::now() - debut, 5s);
    EXPECT_TRUE(issue.Quitter);
    EXPECT_FALSE(issue.AnnoncerEchec);
    EXPECT_FALSE(signale);
    EXPECT_TRUE(tache.Etat().EstFini()); // la tâche s'est bien arrêtée
}

} // namespace
} // namespace emporteur
