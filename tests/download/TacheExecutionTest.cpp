// L'exécution dans son ensemble : initialisation, dossier de destination, espace
// libre, fichiers refusés, estimation du temps restant, annulation.
#include "BancTache.h"

#include <chrono>
#include <future>
#include <stdexcept>
#include <thread>

namespace emporteur::test {
namespace {

using namespace std::chrono_literals;
using Horloge = std::chrono::steady_clock;

TEST_F(BancTache, EnsembleVideOuAbsent) {
    std::uint64_t demande = 99;
    std::string dossierDemande;
    TacheTelechargement vide(&ensemble);
    vide.RemplacerRequeteEspace([&](const std::string& d, std::uint64_t& libre, int&) {
        dossierDemande = d;
        libre = demande = 0; // deux fois zéro suffit
        return true;
    });
    EXPECT_EQ(TacheTelechargement::ProcedureFil(&vide), 0);
    EXPECT_EQ(vide.Etat().Journal(), "Initialisation.\r\n");
    EXPECT_EQ(dossierDemande, ensemble.Dossier);
    EXPECT_TRUE(vide.Etat().EstFini());

    TacheTelechargement sansEnsemble(nullptr);
    EXPECT_EQ(TacheTelechargement::ProcedureFil(&sansEnsemble), 1);
    EXPECT_EQ(sansEnsemble.Etat().Journal(), "Initialisation.\r\nErreur d'initialisation.\r\n");
    EXPECT_TRUE(sansEnsemble.Etat().EstFini());
    EXPECT_EQ(TacheTelechargement::ProcedureFil(nullptr), 1);
}

TEST_F(BancTache, UneExceptionEchappeeEstNoteeAuJournalEtRend2) {
    Ajouter("f.bin", Octets(1000), 1000);
    for (const bool standard : {true, false}) {
        tache = std::make_unique<TacheTelechargement>(&ensemble, &ui);
        tache->RemplacerRequeteEspace([=](const std::string&, std::uint64_t&, int&) -> bool {
            if (standard) throw std::runtime_error("volume disparu");
            throw 42;
        });
        EXPECT_EQ(TacheTelechargement::ProcedureFil(tache.get()), 2);
        EXPECT_EQ(Journal(), standard ? "Initialisation.\r\nÉchec de téléchargement : erreur "
                                        "interne (volume disparu).\r\n"
                                      : "Initialisation.\r\nÉchec de téléchargement : erreur "
                                        "interne.\r\n");
        EXPECT_TRUE(tache->Etat().EstFini());
        EXPECT_TRUE(tache->Etat().VerrouExecution().try_lock()); // rendu malgré l'exception
        tache->Etat().VerrouExecution().unlock();
    }
}

TEST_F(BancTache, DossierDeDestinationCreeOuImpossibleACreer) {
    const std::string contenu = Octets(1500);
    Ajouter("f.bin", contenu, 1000);
    ensemble.Dossier = destination / "a/b/c/";
    EXPECT_EQ(Executer(), 0) << Journal();
    EXPECT_EQ(LireFichier(destination / "a/b/c/f.bin"), contenu);

    EcrireFichier(destination / "fichier", "pas un dossier");
    ensemble.Dossier = destination / "fichier/sous/";
    ensemble.Fichiers[0]->EstReussi = false;
    serveur.OublierRequetes();
    EXPECT_EQ(Executer(), 1);
    EXPECT_EQ(Journal(), "Initialisation.\r\nÉchec de téléchargement : impossible de créer le "
                         "dossier de destination.\r\n");
    EXPECT_EQ(serveur.Requetes(), 0);
    EXPECT_FALSE(ensemble.Fichiers[0]->EstReussi);
}

TEST_F(BancTache, EspaceLibreDeuxFoisLeTotalSur64Bits) {
    Ajouter("f.bin", Octets(1000), 1000);
    const auto essayer = [&](bool reponse, std::uint64_t libre, int erreur) {
        tache = std::make_unique<TacheTelechargement>(&ensemble);
        tache->RemplacerRequeteEspace([=](const std::string&, std::uint64_t& l, int& e) {
            l = libre;
            e = erreur;
            return reponse;
        });
        return tache->ExecuterTache();
    };
    EXPECT_EQ(essayer(true, 1999, 0), 1);
    EXPECT_EQ(Journal(), "Initialisation.\r\nÉchec de téléchargement : espace disque "
                         "insuffisant.\r\n");
    EXPECT_EQ(serveur.Requetes(), 0);
    EXPECT_FALSE(ensemble.Fichiers[0]->EstReussi);
    EXPECT_EQ(essayer(false, 0, 13), 1);
    EXPECT_EQ(Journal(), "Initialisation.\r\nImpossible de déterminer l'espace libre : erreur "
                         "code 13.\r\n");
    EXPECT_EQ(essayer(true, 2000, 0), 0);
    EXPECT_TRUE(ensemble.Fichiers[0]->EstReussi);

    // Au-delà de 2 Gio, le double du total ne tient plus sur 32 bits. Le fichier déjà
    // juste compterait comme présent : il est retiré.
    std::filesystem::remove(Chemin("f.bin"));
    constexpr std::uint64_t gros = 3'000'000'000u;
    for (const std::uint64_t libre : {2 * gros - 1, 2 * gros}) {
        TacheTelechargement t(&ensemble);
        t.RemplacerRequeteEspace([=](const std::string&, std::uint64_t& l, int&) {
            l = libre;
            return true;
        });
        EXPECT_EQ(t.VerifierEspaceDisque(gros), libre == 2 * gros) << libre;
    }
    ensemble.Fichiers[0]->Taille = 2'000'000'000;
    Ajouter("g.bin", Octets(10), 10).Taille = 2'000'000'000;
    EXPECT_EQ(essayer(true, 7'999'999'999u, 0), 1);
    EXPECT_EQ(ensemble.TailleTotale, 4'000'000'000u);
    EXPECT_NE(Journal().find("espace disque insuffisant"), std::string::npos);
}

TEST_F(BancTache, FichiersRefusesSansEmpecherLesSuivants) {
    const std::string bon = Octets(1200);
    for (const std::string& nom :
         std::vector<std::string>{"", ".", "..", "a/b", "../x", std::string("n\0ul", 4)})
        Ajouter("x", bon, 1000).NomLocal = nom;
    Ajouter("x", bon, 1000).Taille = 0;
    Ajouter("x", bon, 1000).TailleSegment = 0;
    Ajouter("x", bon, 1000).Crcs.pop_back();
    Ajouter("x", bon, 64 * 1024 * 1024 + 1);
    Ajouter("limite.bin", bon, 64 * 1024 * 1024); // 64 Mio tout juste : accepté
    Ajouter("bon.bin", bon, 1000);
    ensemble.Dossier = destination / "d/";

    EXPECT_EQ(Executer(), 1);
    const auto lignes = LignesJournal();
    for (const std::string nom : {"", ".", "..", "a/b", "../x", "n"}) // au plus jusqu'au NUL
        EXPECT_TRUE(Contient(lignes, "Échec de téléchargement : nom de fichier local refusé (« " +
                                         nom + " »)."))
            << nom;
    EXPECT_EQ(std::count(lignes.begin(), lignes.end(), "Erreur code 1."), 2);
    EXPECT_TRUE(Contient(lignes, "Erreur code 2."));
    EXPECT_TRUE(Contient(lignes, "Échec de téléchargement : taille de segment refusée (67108865 "
                                 "octets, 64 Mo au plus)."));
    for (std::size_t i = 0; i < 10; ++i)
        EXPECT_FALSE(ensemble.Fichiers[i]->EstReussi) << i;
    EXPECT_TRUE(ensemble.Fichiers[10]->EstReussi);
    EXPECT_TRUE(ensemble.Fichiers[11]->EstReussi);
    EXPECT_EQ(LireFichier(destination / "d/bon.bin"), bon);
    EXPECT_EQ(serveur.Requetes("/rep/x"), 0);
    // Rien n'est écrit hors de la destination.
    EXPECT_FALSE(std::filesystem::exists(destination / "x"));
    EXPECT_FALSE(std::filesystem::exists(destination / "x.0"));
    EXPECT_FALSE(std::filesystem::exists(destination / "d/a"));
}

TEST(TempsRestant, EstimationSelonLeTempsEtLaPart) {
    EXPECT_EQ(TexteTempsRestant(11, 0.0f), "-- min -- s");
    EXPECT_EQ(TexteTempsRestant(600, 0.0f), "-- min -- s");
    EXPECT_EQ(TexteTempsRestant(10, 20.0f), "-- min -- s");
    EXPECT_EQ(TexteTempsRestant(5, 21.0f), "0 min 18 s"); // 5 ÷ 21 × 100 = 23 s en tout
    EXPECT_EQ(TexteTempsRestant(60, 50.0f), "1 min 00 s");
    EXPECT_EQ(TexteTempsRestant(11, 1.0f), "18 min 09 s");
    EXPECT_EQ(TexteTempsRestant(60, 100.0f), "0 min 00 s");
}

TEST_F(BancTache, ProgressionPublieeParLesTransferts) {
    const std::string contenu = Octets(4000);
    Ajouter("a.bin", contenu, 1000);
    EcrireFichier(Segment("a.bin", 0), contenu.substr(0, 1000)); // déjà là : compte comme fait
    Ajouter("absent.bin", Octets(4000), 1000);
    serveur.RepondreStatut("/rep/absent.bin", 404);
    tache = std::make_unique<TacheTelechargement>(&ensemble, &ui);
    tache->RemplacerRequeteEspace([](const std::string&, std::uint64_t& l, int&) {
        l = 1 << 20;
        return true;
    });
    std::int64_t appels = 0;
    tache->RemplacerHorloge([&] { return appels++ == 0 ? 1000 : 1060; });
    EXPECT_EQ(tache->ExecuterTache(), 1);
    std::uint64_t version = 0;
    const Progression::Releve p = tache->Etat().Lire(version);
    // Dernière mise à jour : fin du premier fichier, la moitié du total en 60 s.
    EXPECT_EQ(p.PourcentageSegment, 100);
    EXPECT_EQ(p.PourcentageTotal, 50);
    EXPECT_EQ(p.OctetsRestants, 4000u);
    EXPECT_EQ(p.TempsRestant, "1 min 00 s");
    EXPECT_TRUE(p.Fini);
    EXPECT_TRUE(ensemble.Fichiers[0]->EstReussi);
    EXPECT_FALSE(ensemble.Fichiers[1]->EstReussi);
    EXPECT_EQ(ensemble.TailleFaite, 8000u);
}

// Lance la tâche sur un fil, attend le début du transfert, annule et mesure.
struct Annulation {
    std::chrono::milliseconds duree{};
    int code = -1;
};

Annulation AnnulerPendantLeTransfert(TacheTelechargement& tache, ServeurDefaillant& serveur) {
    auto fil = std::async(std::launch::async, TacheTelechargement::ProcedureFil, &tache);
    const auto limite = Horloge::now() + 10s;
    while (serveur.Requetes() == 0 && Horloge::now() < limite)
        std::this_thread::sleep_for(10ms);
    std::this_thread::sleep_for(200ms); // le corps a commencé d'arriver
    const auto debut = Horloge::now();
    tache.Annuler();
    Annulation a;
    a.duree = std::chrono::duration_cast<std::chrono::milliseconds>(Horloge::now() - debut);
    if (fil.wait_for(5s) == std::future_status::ready) a.code = fil.get();
    return a;
}

TEST_F(BancTache, AnnulerPendantUnTransfertLentOuBloqueRevientVite) {
    Ajouter("lent.bin", Octets(200000), 100000);
    serveur.Ralentir("/rep/lent.bin", 1000, 50ms); // 5 s par segment
    Ajouter("suivant.bin", Octets(1000), 1000);
    tache = std::make_unique<TacheTelechargement>(&ensemble, &ui);
    auto a = AnnulerPendantLeTransfert(*tache, serveur);
    EXPECT_LT(a.duree, 5s); // bien avant la borne de 10 s
    EXPECT_EQ(a.code, 0);
    EXPECT_TRUE(tache->Etat().EstFini());
    EXPECT_FALSE(Existe("lent.bin")); // un fichier annulé n'est pas assemblé
    EXPECT_EQ(Segments("lent.bin"), 0);
    EXPECT_EQ(serveur.Requetes("/rep/suivant.bin"), 0);
    EXPECT_TRUE(ensemble.Fichiers[1]->EstReussi); // jamais montré : l'assistant se ferme
    EXPECT_EQ(Journal().find("corrompu"), std::string::npos);

    // Un corps bloqué n'appelle plus aucun rappel : Annuler interrompt le transfert lui-même.
    serveur.Reparer("/rep/lent.bin");
    serveur.Bloquer("/rep/lent.bin", 2000);
    serveur.OublierRequetes();
    tache = std::make_unique<TacheTelechargement>(&ensemble, &ui);
    a = AnnulerPendantLeTransfert(*tache, serveur);
    EXPECT_LT(a.duree, 5s);
    EXPECT_EQ(a.code, 0);
    EXPECT_FALSE(Existe("lent.bin"));
}

} // namespace
} // namespace emporteur::test
