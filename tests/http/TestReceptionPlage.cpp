// Réponses qu'aucun serveur de test ne produit facilement : 206 plus large que demandé,
// corps plus long que son Content-Range, réponses enchaînées.
#include "BancHttp.h"

#include "http/ReceptionPlage.h"

namespace emporteur::test {
namespace {

void Entetes(ReceptionPlage& r, std::initializer_list<std::string_view> lignes) {
    for (auto l : lignes)
        r.LigneEntete(l);
}

TEST(ReceptionPlage, Un206NEstAccepteQueSiSaPlageCommenceAuDecalageEtTientDansLaLongueur) {
    const std::string corps = Motif(200);
    struct Cas {
        const char* plage;
        bool accepte;
    };
    for (const Cas c :
         {Cas{"Content-Range: bytes 100-199/1000\r\n", true},
          Cas{"content-range:bytes 100-149/150\r\n", true},
          Cas{"Content-Range: bytes 100-199/*\r\n", true},
          Cas{"Content-Range: bytes 100-299/1000\r\n", false},
          Cas{"Content-Range: bytes 101-199/1000\r\n", false},
          Cas{"Content-Range: bytes 100-199/150\r\n", false},
          Cas{"Content-Range: bytes 199-100/1000\r\n", false},
          Cas{"Content-Range: octets 100-199/1000\r\n", false}, Cas{"X-Autre: 1\r\n", false}}) {
        TamponGarde tampon(100);
        ReceptionPlage r(tampon.Donnees(), 100, 100);
        Entetes(r, {"HTTP/1.1 206 Partial Content\r\n", c.plage, "\r\n"});
        const auto pris = r.Recevoir(corps.data(), 100);
        EXPECT_EQ(pris == 100, c.accepte) << c.plage;
        EXPECT_EQ(r.Arret() == ArretReception::PlageIncoherente, !c.accepte) << c.plage;
        EXPECT_EQ(tampon.Intact(), !c.accepte) << c.plage;
        EXPECT_TRUE(tampon.GardesIntactes());
    }
}

TEST(ReceptionPlage, LesOctetsAuDelaDeLaLongueurNeSontJamaisEcrits) {
    const std::string corps = Motif(5000);
    // Un 206 dont le corps déborde de ce qu'il annonce.
    TamponGarde tampon(1000);
    ReceptionPlage r(tampon.Donnees(), 1000, 0);
    Entetes(r, {"HTTP/1.1 206 Partial Content\r\n", "Content-Range: bytes 0-999/5000\r\n"});
    EXPECT_EQ(r.Recevoir(corps.data(), 600), 600u);
    EXPECT_EQ(r.Recevoir(corps.data() + 600, 4400), 0u);
    EXPECT_EQ(r.Arret(), ArretReception::Complet);
    EXPECT_EQ(r.Recus(), 1000u);
    EXPECT_EQ(tampon.Contenu(1000), corps.substr(0, 1000));
    EXPECT_TRUE(tampon.GardesIntactes());

    // Un 200 : l'objet entier depuis 0, dont on ne garde que la plage demandée,
    // même quand un bloc chevauche le début et la fin.
    TamponGarde t200(1000);
    ReceptionPlage r200(t200.Donnees(), 1000, 3000);
    Entetes(r200, {"HTTP/1.1 200 OK\r\n", "Content-Length: 5000\r\n"});
    EXPECT_EQ(r200.Recevoir(corps.data(), 2500), 2500u);
    EXPECT_EQ(r200.Recus(), 0u);
    EXPECT_EQ(r200.Recevoir(corps.data() + 2500, 2500), 0u);
    EXPECT_EQ(r200.Recus(), 1000u);
    EXPECT_EQ(t200.Contenu(1000), corps.substr(3000, 1000));
    EXPECT_TRUE(t200.GardesIntactes());
}

TEST(ReceptionPlage, ChaqueReponseRepartDeZeroEtLesCorpsDErreurSontIgnores) {
    const std::string corps = Motif(100);
    TamponGarde tampon(100);
    ReceptionPlage r(tampon.Donnees(), 100, 0);
    EXPECT_FALSE(r.StatutRecu());
    // Un 401 avec une plage, puis la vraie réponse sans plage : c'est un 200.
    Entetes(r, {"HTTP/1.1 401 Unauthorized\r\n", "Content-Range: bytes 0-99/100\r\n", "\r\n"});
    EXPECT_EQ(r.Recevoir("refus", 5), 5u);
    EXPECT_EQ(r.Recus(), 0u);
    EXPECT_FALSE(r.CorpsCommence());
    Entetes(r, {"HTTP/2 206\r\n", "\r\n"});
    EXPECT_EQ(r.Statut(), 206);
    EXPECT_EQ(r.Recevoir(corps.data(), 100), 0u);
    EXPECT_EQ(r.Arret(), ArretReception::PlageIncoherente);
    EXPECT_TRUE(tampon.Intact());

    // Un corps d'erreur démesuré n'est pas lu jusqu'au bout.
    ReceptionPlage erreur(tampon.Donnees(), 100, 0);
    erreur.LigneEntete("HTTP/1.1 500 Internal Server Error\r\n");
    const std::string gros(70 * 1024, 'x');
    EXPECT_EQ(erreur.Recevoir(gros.data(), gros.size()), 0u);
    EXPECT_EQ(erreur.Arret(), ArretReception::CorpsIgnore);
    EXPECT_TRUE(tampon.Intact());
}

TEST(ReceptionPlage, LectureDuContentRange) {
    std::uint64_t debut = 0, fin = 0;
    EXPECT_TRUE(LireContentRange(" bytes 0-0/1 ", debut, fin));
    EXPECT_EQ(debut, 0u);
    EXPECT_EQ(fin, 0u);
    EXPECT_TRUE(LireContentRange("bytes 4294967296-4294967297/*", debut, fin));
    EXPECT_EQ(debut, 4294967296u);
    for (const char* faux :
         {"bytes */100", "bytes 5-/100", "bytes -5/100", "bytes 1-2/x", "bytes 1-2", "bytes 1-2/2",
          "bytes a-b/10", "", "bytes 99999999999999999999-1/*"})
        EXPECT_FALSE(LireContentRange(faux, debut, fin)) << faux;
}

} // namespace
} // namespace emporteur::test
