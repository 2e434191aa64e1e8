// Le transport WinINet face aux pannes : coupure, blocage, débit trop faible, en-têtes
// démesurés (serveur de pannes en perl, nginx à débit limité), et interruption depuis
// un autre fil, même d'une lecture bloquée.
#include "BancWinInet.h"

#include <condition_variable>
#include <mutex>

namespace emporteur::test {
namespace {

TEST_F(TransfertWin32, InterrompreDepuisUnAutreFilArreteLaLecture) {
    // 4 Mio à 128 Kio/s : une demi-minute si rien ne l'arrête.
    constexpr std::uint32_t taille = 4 * 1024 * 1024;
    Publier("lent", taille, 13);
    std::mutex verrou;
    std::condition_variable arrivee;
    bool recus = false;
    auto t = Ouvrir("lent", objet, {}, [&](std::uint32_t) {
        std::lock_guard<std::mutex> garde(verrou);
        recus = true;
        arrivee.notify_one();
    });
    std::thread interrupteur([&] {
        std::unique_lock<std::mutex> garde(verrou);
        arrivee.wait(garde, [&] { return recus; });
        t->Interrompre();
    });
    std::string tampon(taille, '\0');
    const auto debut = std::chrono::steady_clock::now();
    const auto r = t->LirePlage(tampon.data(), taille, 0, message);
    const auto duree = std::chrono::steady_clock::now() - debut;
    interrupteur.join();
    EXPECT_GT(r.Octets, 0u);
    EXPECT_LT(r.Octets, taille / 2);
    EXPECT_LT(duree, std::chrono::seconds(20));
    // Le transfert interrompu ne lit plus rien.
    const auto suite = t->LirePlage(tampon.data(), 10, 0, message);
    EXPECT_EQ(suite.Octets, 0u);
}

TEST_F(TransfertWin32, UnDebitTropFaibleEstCoupeAvecSaLigne) {
    // 128 Kio/s quand on en exige 1 Mio/s sur 2 s.
    VariableTemporaire vitesse("EMPORTEUR_VITESSE_MINIMALE", "1048576");
    VariableTemporaire lenteur("EMPORTEUR_DELAI_LENTEUR", "2");
    constexpr std::uint32_t taille = 4 * 1024 * 1024;
    Publier("lent", taille, 23);
    auto t = Ouvrir("lent", objet);
    std::string tampon(taille, '\0');
    const auto debut = std::chrono::steady_clock::now();
    const auto r = t->LirePlage(tampon.data(), taille, 0, message);
    EXPECT_EQ(r.Code, Code::Reprendre);
    EXPECT_GT(r.Octets, 0u);
    EXPECT_LT(r.Octets, taille);
    EXPECT_EQ(message, "Erreur de téléchargement : \"Transfert trop lent : moins de 1024 Kio/s "
                       "pendant 2 s.\" code = 29.");
    EXPECT_LT(std::chrono::steady_clock::now() - debut, std::chrono::seconds(20));
}

// Le serveur de pannes annonce 1000 octets et n'en envoie que 100.
TEST_F(TransfertWin32, UneCoupureOuUnBlocageEnCoursDeCorpsSontAReprendre) {
    VariableTemporaire blocage("EMPORTEUR_DELAI_BLOCAGE", "3");
    const std::string hote = "127.0.0.1:" + std::to_string(serveurs.portPannes);
    const struct {
        const char* dossier;
        const char* description;
    } cas[] = {
        {"coupe", "La connexion a été coupée avant la fin des données."},
        {"bloque", "Le délai d'attente de l'opération a expiré."},
    };
    for (const auto& c : cas) {
        TransfertHttp t(&ui);
        ASSERT_TRUE(t.Ouvrir(hote, c.dossier, "objet.bin", {}, message));
        std::string tampon(1000, '\0');
        const auto debut = std::chrono::steady_clock::now();
        const auto r = t.LirePlage(tampon.data(), 1000, 0, message);
        EXPECT_EQ(r.Code, Code::Reprendre) << c.dossier;
        EXPECT_EQ(r.Octets, 100u) << c.dossier;
        EXPECT_EQ(message, std::string("Erreur de téléchargement : \"") + c.description +
                               "\" code = 29.");
        EXPECT_LT(std::chrono::steady_clock::now() - debut, std::chrono::seconds(25)) << c.dossier;
    }
}

TEST_F(TransfertWin32, DesEntetesDemesuresSontNommesEtRepris) {
    const std::string hote = "127.0.0.1:" + std::to_string(serveurs.portPannes);
    // 300 Ko d'en-têtes : refusés (au-delà de 256 Kio) ; 60 Ko : acceptés. Wine lit
    // les en-têtes en temps quadratique : 3 Mo y prendraient des minutes.
    for (const int lignes : {300, 60}) {
        TransfertHttp t(&ui);
        ASSERT_TRUE(t.Ouvrir(hote, "entetes/" + std::to_string(lignes), "objet.bin", {}, message));
        std::string tampon(1000, '\0');
        const auto r = t.LirePlage(tampon.data(), 1000, 0, message);
        if (lignes == 60) {
            EXPECT_EQ(r.Code, Code::Reussi) << message;
            EXPECT_EQ(tampon, std::string(1000, 'x'));
            continue;
        }
        EXPECT_EQ(r.Code, Code::Reprendre);
        EXPECT_EQ(r.Octets, 0u);
        EXPECT_EQ(message.rfind("Erreur de téléchargement : \"Le serveur a envoyé des en-têtes "
                                "démesurés.\" code = ",
                                0),
                  0u)
            << message;
    }
}

TEST_F(TransfertWin32, InterrompreFaitRevenirUneLectureBloquee) {
    const std::string hote = "127.0.0.1:" + std::to_string(serveurs.portPannes);
    std::mutex verrou;
    std::condition_variable arrivee;
    bool recus = false;
    TransfertHttp t(&ui, [&](std::uint32_t) {
        std::lock_guard<std::mutex> garde(verrou);
        recus = true;
        arrivee.notify_one();
    });
    ASSERT_TRUE(t.Ouvrir(hote, "bloque", "objet.bin", {}, message));
    std::thread interrupteur([&] {
        std::unique_lock<std::mutex> garde(verrou);
        arrivee.wait(garde, [&] { return recus; });
        garde.unlock();
        // La lecture attend alors la suite, qui ne vient pas (30 s avant le délai).
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        t.Interrompre();
    });
    std::string tampon(1000, '\0');
    const auto debut = std::chrono::steady_clock::now();
    const auto r = t.LirePlage(tampon.data(), 1000, 0, message);
    interrupteur.join();
    EXPECT_EQ(r.Octets, 100u);
    EXPECT_LT(std::chrono::steady_clock::now() - debut, std::chrono::seconds(15));
}

} // namespace
} // namespace emporteur::test
