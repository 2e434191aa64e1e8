// Pannes du réseau et du serveur : coupure, blocage, plage ignorée ou fausse, hôte
// introuvable, interruption. Aucune ne doit faire passer de mauvais octets pour bons.
#include "BancHttp.h"

#include <chrono>

namespace emporteur::test {
namespace {

using Code = CodeTransfert;
using Horloge = std::chrono::steady_clock;

TEST_F(BancHttp, UneCoupureEnCoursDeCorpsEstAReprendrePuisLaLectureReussit) {
    serveur.CouperApres(Chemin, 3000, 1);
    auto t = Ouvrir();
    TamponGarde tampon(10000);
    auto r = t->LirePlage(tampon.Donnees(), 10000, 20000, message);
    EXPECT_EQ(r.Code, Code::Reprendre);
    EXPECT_EQ(r.Octets, 3000u);
    EXPECT_EQ(r.Statut, 206);
    EXPECT_EQ(message, "Erreur de téléchargement : \"La connexion a été coupée avant la fin des "
                       "données.\" code = 29.");
    // Le même transfert se reconnecte de lui-même.
    r = t->LirePlage(tampon.Donnees(), 10000, 20000, message);
    EXPECT_EQ(r.Code, Code::Reussi);
    EXPECT_EQ(tampon.Contenu(10000), contenu.substr(20000, 10000));
    EXPECT_EQ(message, "");
    EXPECT_EQ(serveur.Requetes(Chemin), 2);
    EXPECT_TRUE(tampon.GardesIntactes());
}

TEST_F(BancHttp, UnServeurBloqueFinitEnErreurAReprendreDansLeDelai) {
    VariableTemporaire delai("EMPORTEUR_DELAI_BLOCAGE", "2");
    serveur.Bloquer(Chemin, 1000);
    auto t = Ouvrir();
    TamponGarde tampon(10000);
    const auto debut = Horloge::now();
    const auto r = t->LirePlage(tampon.Donnees(), 10000, 0, message);
    // Garde-fou contre l'attente infinie, pas une mesure de vitesse.
    EXPECT_LT(Horloge::now() - debut, std::chrono::seconds(20));
    EXPECT_EQ(r.Code, Code::Reprendre);
    EXPECT_EQ(r.Octets, 1000u);
    EXPECT_EQ(
        message,
        "Erreur de téléchargement : \"Le délai d'attente de l'opération a expiré.\" code = 29.");
    EXPECT_TRUE(tampon.GardesIntactes());
}

TEST_F(BancHttp, UnePlageIgnoreeDonneQuandMemeLesBonsOctets) {
    serveur.IgnorerPlage(Chemin);
    auto t = Ouvrir();
    for (const std::uint32_t decalage : {0u, 30000u, 99000u}) {
        TamponGarde tampon(1000);
        const auto r = t->LirePlage(tampon.Donnees(), 1000, decalage, message);
        EXPECT_EQ(r.Code, Code::Reussi);
        EXPECT_EQ(r.Statut, 200);
        EXPECT_EQ(r.Octets, 1000u);
        EXPECT_EQ(tampon.Contenu(1000), contenu.substr(decalage, 1000)) << decalage;
        EXPECT_TRUE(tampon.GardesIntactes());
    }
    EXPECT_EQ(serveur.Plages(Chemin).back(), (PlageServie{0, 99999, 200}));
}

TEST_F(BancHttp, UnContentRangeQuiNeCorrespondPasNEcritRien) {
    auto t = Ouvrir();
    for (const std::int64_t ecart : {10, -10}) {
        serveur.DecalerPlage(Chemin, ecart);
        TamponGarde tampon(1000);
        const auto r = t->LirePlage(tampon.Donnees(), 1000, 5000, message);
        EXPECT_EQ(r.Code, Code::Reprendre);
        EXPECT_EQ(r.Octets, 0u);
        EXPECT_EQ(r.Statut, 206);
        EXPECT_EQ(message, "Erreur de téléchargement : \"La plage reçue ne correspond pas à la "
                           "plage demandée.\" code = 25.");
        EXPECT_TRUE(tampon.Intact());
    }
    // En silencieux, rien de reçu est définitif.
    TransfertHttp silencieux;
    silencieux.FixerSilencieux(true);
    ASSERT_TRUE(silencieux.Ouvrir(serveur.Hote(), "dossier", "objet.bin", {}, message));
    char tampon[100];
    EXPECT_EQ(silencieux.LirePlage(tampon, 100, 5000, message).Code, Code::Abandon);
}

TEST_F(BancHttp, UnHoteIntrouvableInviteAUneConnexionSaufEnSilencieux) {
    const std::string attendu =
        "Erreur de téléchargement : \"Le nom du serveur n'a pas pu être résolu.\" code = 23.";
    char tampon[100];
    {
        TransfertHttp t(&ui);
        t.FixerSilencieux(true);
        ASSERT_TRUE(t.Ouvrir("hote-inexistant.invalid", "dossier", "objet", {}, message));
        const auto r = t.LirePlage(tampon, 100, 0, message);
        EXPECT_EQ(r.Code, Code::Abandon);
        EXPECT_EQ(r.Statut, 0);
        EXPECT_EQ(message, attendu);
        EXPECT_TRUE(ui.Appels().empty());
    }
    {
        TransfertHttp t(&ui);
        ASSERT_TRUE(t.Ouvrir("hote-inexistant.invalid", "dossier", "objet", {}, message));
        const auto r = t.LirePlage(tampon, 100, 0, message);
        EXPECT_EQ(r.Code, Code::Reprendre);
        EXPECT_EQ(message, attendu);
        const auto boites = ui.Appels("BoiteMessage");
        ASSERT_EQ(boites.size(), 1u);
        EXPECT_EQ(boites[0].texte, "Veuillez vous connecter à Internet maintenant.\nAppuyez sur "
                                   "OK lorsque la connexion sera établie.");
        EXPECT_EQ(boites[0].titre, "");
        EXPECT_EQ(boites[0].style, MB_OK);
    }
}

TEST_F(BancHttp, InterrompreDepuisLeRappelArreteAussitot) {
    serveur.Ralentir(Chemin, 1000, std::chrono::milliseconds(200));
    std::vector<std::uint32_t> progres;
    TransfertHttp* transfert = nullptr;
    auto t = Ouvrir([&](std::uint32_t n) {
        progres.push_back(n);
        if (n >= 2000) transfert->Interrompre();
    });
    transfert = t.get();
    TamponGarde tampon(50000);
    const auto debut = Horloge::now();
    const auto r = t->LirePlage(tampon.Donnees(), 50000, 0, message);
    // 50 blocs à 200 ms feraient 10 s ; bien moins prouve l'arrêt.
    EXPECT_LT(Horloge::now() - debut, std::chrono::seconds(5));
    EXPECT_EQ(r.Code, Code::Reussi);
    EXPECT_EQ(r.Octets, 2000u);
    EXPECT_EQ(progres, (std::vector<std::uint32_t>{1000, 2000}));
    EXPECT_EQ(message, "");
    // Un transfert interrompu le reste : plus aucune requête.
    const int avant = serveur.Requetes();
    EXPECT_EQ(t->LirePlage(tampon.Donnees(), 100, 0, message).Octets, 0u);
    EXPECT_EQ(serveur.Requetes(), avant);
}

} // namespace
} // namespace emporteur::test
