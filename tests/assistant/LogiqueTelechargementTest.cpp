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

// Drapeau d'échec déjà levé, annulation, code rendu par l'arrêt du suivi → décision.
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
        const DecisionArret decision = ArreterTelechargement(signale, c.annulation, [&] {
            ++appels;
            return c.code;
        });
        const std::string nom =
            std::to_string(c.code.value_or(-1)) + (c.annulation ? " annulé" : "");
        EXPECT_EQ(appels, c.suiviArrete ? 1 : 0) << nom;
        EXPECT_EQ(decision.Quitter, c.quitter) << nom;
        EXPECT_EQ(decision.AnnoncerEchec, c.annonce) << nom;
        EXPECT_EQ(decision.ActiverSuivant, c.suivant) << nom;
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

// Câblé comme la page sur une vraie tâche en marche : l'annulation l'arrête, sans message.
TEST(ArretTelechargement, AnnulationDUneTacheEnMarche) {
    test::DossierTemporaire dossier;
    EnsembleFichiers ensemble;
    ensemble.Dossier = dossier.Chemin() + "/";
    ensemble.Fichiers.push_back(std::make_unique<Ingredient>());
    ensemble.Fichiers[0]->NomLocal = "f.bin";
    ensemble.Fichiers[0]->Taille = ensemble.Fichiers[0]->TailleSegment = 4;
    ensemble.Fichiers[0]->Crcs = {1};
    TacheTelechargement tache(&ensemble);
    std::atomic<bool> enMarche{false};
    // La requête d'espace tient la tâche en marche jusqu'à l'annulation.
    tache.RemplacerRequeteEspace([&](const std::string&, std::uint64_t& libre, int&) {
        for (enMarche = true; !tache.EstAnnulee();)
            std::this_thread::sleep_for(5ms);
        libre = 1u << 20;
        return true;
    });
    auto fil = std::async(std::launch::async, TacheTelechargement::ProcedureFil, &tache);
    while (!enMarche)
        std::this_thread::sleep_for(1ms);
    bool signale = false;
    const DecisionArret decision = ArreterTelechargement(signale, true, [&] {
        tache.Annuler();
        return CodeSortieFil(fil, tache.Etat().EstFini());
    });
    EXPECT_TRUE(decision.Quitter);
    EXPECT_FALSE(decision.AnnoncerEchec || signale);
    EXPECT_TRUE(tache.Etat().EstFini());
}

} // namespace
} // namespace emporteur
