// Ce que les serveurs réels font au transport : compression imposée, en-têtes
// démesurés, filet d'octets, caches à contourner.
#include "BancHttp.h"

#include "http/DelaisReseau.h"
#include "http/SurveillanceDebit.h"

#include <chrono>

namespace emporteur::test {
namespace {

using Code = CodeTransfert;
using namespace std::chrono_literals;

TEST_F(BancHttp, ChaqueRequeteRefuseLaCompressionEtLaCopieFraicheVientSurDemande) {
    auto t = Ouvrir();
    TamponGarde tampon(1000);
    ASSERT_EQ(t->LirePlage(tampon.Donnees(), 1000, 0, message).Code, Code::Reussi);
    EXPECT_EQ(serveur.DerniereEntete("Accept-Encoding"), "identity");
    EXPECT_EQ(serveur.DerniereEntete("Cache-Control"), "");
    EXPECT_EQ(serveur.DerniereEntete("Pragma"), "");
    t->DemanderCopieFraiche();
    for (int i = 0; i < 2; ++i) { // et pour toutes les lectures suivantes
        ASSERT_EQ(t->LirePlage(tampon.Donnees(), 1000, 2000, message).Code, Code::Reussi);
        EXPECT_EQ(serveur.DerniereEntete("Accept-Encoding"), "identity");
        EXPECT_EQ(serveur.DerniereEntete("Cache-Control"), "no-cache");
        EXPECT_EQ(serveur.DerniereEntete("Pragma"), "no-cache");
        EXPECT_EQ(serveur.DerniereEntete("Range"), "bytes=2000-2999");
    }
    EXPECT_EQ(tampon.Contenu(1000), contenu.substr(2000, 1000));
}

TEST_F(BancHttp, UnCorpsCompresseMalgreTout_EchoueAussitotEnNommantLEncodage) {
    struct Cas {
        std::string encodage, nomme;
        bool ignorePlage;
    };
    const std::vector<Cas> cas = {
        {"gzip", "gzip", true},
        {"br", "br", false},
        {"x-maison\x01", "x-maison?", false}, // un octet de contrôle n'arrive pas au journal
    };
    for (const auto& c : cas) {
        serveur.Reparer(Chemin);
        serveur.Encoder(Chemin, c.encodage);
        if (c.ignorePlage) serveur.IgnorerPlage(Chemin);
        auto t = Ouvrir();
        TamponGarde tampon(5000);
        const auto r = t->LirePlage(tampon.Donnees(), 5000, 1000, message);
        EXPECT_EQ(r.Code, Code::Abandon) << c.encodage;
        EXPECT_EQ(r.Octets, 0u);
        EXPECT_EQ(message, "Échec de téléchargement : le serveur envoie le fichier compressé "
                           "(Content-Encoding : " +
                               c.nomme + ").");
        EXPECT_TRUE(tampon.Intact());
    }
    // identity n'est pas une compression.
    serveur.Reparer(Chemin);
    serveur.Encoder(Chemin, "identity");
    auto t = Ouvrir();
    TamponGarde tampon(100);
    EXPECT_EQ(t->LirePlage(tampon.Donnees(), 100, 0, message).Code, Code::Reussi);
}

TEST_F(BancHttp, DesEntetesDemesuresSontNommesEtRepris) {
    struct Cas {
        std::size_t octets, ligne;
    };
    // Beaucoup de lignes (3 Mo), ou une seule ligne plus longue que ce que libcurl lit.
    for (const Cas c : {Cas{3'000'000, 1000}, Cas{300'000, 200'000}}) {
        serveur.GonflerEntetes(Chemin, c.octets, c.ligne);
        auto t = Ouvrir();
        TamponGarde tampon(1000);
        const auto r = t->LirePlage(tampon.Donnees(), 1000, 0, message);
        EXPECT_EQ(r.Code, Code::Reprendre) << c.ligne;
        EXPECT_EQ(message.rfind("Erreur de téléchargement : \"Le serveur a envoyé des en-têtes "
                                "démesurés.\" code = ",
                                0),
                  0u)
            << message;
        EXPECT_TRUE(tampon.Intact());
    }
    // Des en-têtes nombreux mais raisonnables passent.
    serveur.GonflerEntetes(Chemin, 60'000, 1000);
    auto t = Ouvrir();
    TamponGarde tampon(1000);
    EXPECT_EQ(t->LirePlage(tampon.Donnees(), 1000, 0, message).Code, Code::Reussi) << message;
}

TEST_F(BancHttp, UnFiletDOctetsEstCoupeAvecSaLigne) {
    // Un octet par seconde : jamais « rien » pour le délai de blocage, trop lent pour
    // 1 Kio/s. La fenêtre est ramenée à 3 s pour le test.
    VariableTemporaire lenteur("EMPORTEUR_DELAI_LENTEUR", "3");
    serveur.Ralentir(Chemin, 1, 1000ms);
    auto t = Ouvrir();
    TamponGarde tampon(1000);
    const auto debut = std::chrono::steady_clock::now();
    const auto r = t->LirePlage(tampon.Donnees(), 1000, 0, message);
    const auto duree = std::chrono::steady_clock::now() - debut;
    EXPECT_EQ(r.Code, Code::Reprendre);
    EXPECT_LT(r.Octets, 20u);
    EXPECT_EQ(message, "Erreur de téléchargement : \"Transfert trop lent : moins de 1 Kio/s "
                       "pendant 3 s.\" code = 29.");
    EXPECT_GE(duree, 3s);
    EXPECT_LT(duree, 30s); // bien avant le délai de blocage
    EXPECT_TRUE(tampon.GardesIntactes());
    // Un débit lent mais suffisant (20 Kio/s) passe, sur plus d'une fenêtre.
    serveur.Ralentir(Chemin, 4096, 200ms);
    TamponGarde entier(contenu.size());
    const auto lu = t->LirePlage(entier.Donnees(), 100000, 0, message);
    EXPECT_EQ(lu.Code, Code::Reussi) << message;
    EXPECT_EQ(entier.Contenu(100000), contenu);
}

TEST(SurveillanceDebit, JugeLaMoyenneSurLaFenetreEntiere) {
    using Instant = SurveillanceDebit::Instant;
    const Instant t0{};
    struct Cas {
        const char* nom;
        std::vector<std::pair<int, std::uint64_t>> releves; // (seconde, octets reçus)
        bool tropLent;
    };
    const std::vector<Cas> cas = {
        {"fenêtre pas encore pleine", {{0, 0}, {30, 10}, {59, 20}}, false},
        {"un octet par seconde", {{0, 0}, {30, 30}, {60, 60}}, true},
        {"rien du tout", {{10, 0}, {61, 0}}, true},
        {"juste assez", {{0, 0}, {30, 30000}, {60, 61440}}, false},
        {"rapide puis arrêté", {{0, 0}, {5, 1'000'000}, {64, 1'000'000}, {66, 1'000'000}}, true},
        {"lent puis rapide", {{0, 0}, {59, 10}, {60, 100'000}}, false},
    };
    for (const auto& c : cas) {
        SurveillanceDebit s(1024, 60);
        s.Recommencer(t0);
        bool lent = false;
        for (const auto& [seconde, octets] : c.releves)
            lent = s.TropLent(t0 + std::chrono::seconds(seconde), octets);
        EXPECT_EQ(lent, c.tropLent) << c.nom;
    }
    // Une nouvelle requête repart d'une fenêtre vide.
    SurveillanceDebit s(1024, 60);
    s.Recommencer(t0);
    EXPECT_TRUE(s.TropLent(t0 + 61s, 0));
    s.Recommencer(t0 + 61s);
    EXPECT_FALSE(s.TropLent(t0 + 90s, 0));
    EXPECT_EQ(s.Description(), "Transfert trop lent : moins de 1 Kio/s pendant 60 s.");
    EXPECT_EQ(SurveillanceDebit(500, 5).Description(),
              "Transfert trop lent : moins de 500 octets/s pendant 5 s.");
}

TEST(DelaisReseau, LenteurEtVitesseSeReglentCommeLeBlocage) {
    EnvironnementIsole environnement;
    const DelaisReseau defaut = LireDelaisReseau();
    EXPECT_EQ(defaut.Lenteur, 60);
    EXPECT_EQ(defaut.VitesseMinimale, 1024);
    struct Cas {
        const char* lenteur;
        const char* vitesse;
        long lenteurLue, vitesseLue;
    };
    for (const Cas c : {Cas{"5", "100", 5, 100}, Cas{"0", "-3", 60, 1024},
                        Cas{"abc", "2000000000000", 60, 1024}, Cas{"3600", "1", 3600, 1}}) {
        VariableTemporaire l("EMPORTEUR_DELAI_LENTEUR", c.lenteur);
        VariableTemporaire v("EMPORTEUR_VITESSE_MINIMALE", c.vitesse);
        const DelaisReseau d = LireDelaisReseau();
        EXPECT_EQ(d.Lenteur, c.lenteurLue) << c.lenteur;
        EXPECT_EQ(d.VitesseMinimale, c.vitesseLue) << c.vitesse;
    }
}

} // namespace
} // namespace emporteur::test
