// Le transport WinINet contre de vrais serveurs du côté Linux (nginx, tinyproxy) sur
// 127.0.0.1 : plages, statuts, identifiants, mandataires nommé et du système.
#include "BancWinInet.h"
#include "ReglagesInternet.h"

namespace emporteur::test {
namespace {

TEST_F(TransfertWin32, PlusieursPlagesOctetPourOctetSurUneSeulePoignee) {
    const std::string contenu = Publier("plages", 300000, 7);
    std::vector<std::uint32_t> progres;
    auto t = Ouvrir("plages", objet, {}, [&](std::uint32_t n) { progres.push_back(n); });
    std::string tampon(100000, '\0');
    for (const std::uint32_t decalage : {100000u, 0u, 200000u}) {
        const auto r = t->LirePlage(tampon.data(), 100000, decalage, message);
        EXPECT_EQ(r.Code, Code::Reussi) << message;
        EXPECT_EQ(r.Statut, 206);
        EXPECT_EQ(r.Octets, 100000u);
        EXPECT_TRUE(tampon == contenu.substr(decalage, 100000)) << decalage;
    }
    ASSERT_FALSE(progres.empty());
    EXPECT_EQ(progres.back(), 100000u);
    // Un 206 plus court que demandé : le compte reçu, rien au-delà.
    std::string fin(1000, 'Z');
    auto r = t->LirePlage(fin.data(), 1000, 299500, message);
    EXPECT_EQ(r.Code, Code::Reussi);
    EXPECT_EQ(r.Octets, 500u);
    EXPECT_EQ(fin, contenu.substr(299500) + std::string(500, 'Z'));
    // Au-delà de la fin : 416, à reprendre, avec le même message que sous Linux.
    r = t->LirePlage(fin.data(), 10, 400000, message);
    EXPECT_EQ(r.Code, Code::Reprendre);
    EXPECT_EQ(message, "Erreur de téléchargement : \"Le fichier du serveur est plus court que "
                       "prévu.\" code = 213416.");

    const auto lignes = Journal(serveurs, "/plages/" + objet, 5);
    ASSERT_EQ(lignes.size(), 5u);
    const std::string connexion = lignes[0].substr(0, lignes[0].find(' '));
    for (const auto& l : lignes) {
        EXPECT_EQ(l.substr(0, l.find(' ')), connexion) << "une seule connexion gardée";
        EXPECT_NE(l.find("\"TelechargementMervanique 3.0.0.0\" \"identity\" \"-\" \"-\""),
                  std::string::npos)
            << l;
    }
    EXPECT_NE(lignes[0].find("\"bytes=100000-199999\""), std::string::npos);
}

TEST_F(TransfertWin32, LesStatutsDonnentLesMemesMessagesQueSousLinux) {
    const struct {
        std::string objet;
        Code code;
        std::string message;
    } cas[] = {
        {"absent.bin", Code::Abandon, "Erreur de téléchargement : fichier introuvable."},
        {"400", Code::Abandon, "Erreur inattendue\u00A0: Veuillez nous contacter\t(code 2)."},
        {"417", Code::Abandon, "Erreur inattendue\u00A0: Veuillez nous contacter\t(code 1)."},
        {"403", Code::Reprendre,
         "Erreur de téléchargement : \"Le serveur refuse l'accès au fichier.\" code = 213403."},
        {"410", Code::Abandon,
         "Erreur de téléchargement : \"Le fichier a été retiré du serveur.\" code = 213410."},
        {"503", Code::Reprendre,
         "Erreur de téléchargement : \"Le serveur est momentanément indisponible.\" code = "
         "213503."},
    };
    for (const auto& c : cas) {
        auto t = Ouvrir("statut", c.objet);
        char octets[16];
        const auto r = t->LirePlage(octets, sizeof octets, 0, message);
        EXPECT_EQ(r.Code, c.code) << c.objet;
        EXPECT_EQ(r.Octets, 0u) << c.objet;
        EXPECT_EQ(message, c.message) << c.objet;
    }
}

TEST_F(TransfertWin32, UnCorpsCompresseEstRefuseEtLaCopieFraicheSeDemande) {
    Publier("compresse", 1000, 3);
    const std::string contenu = Publier("frais", 1000, 4);
    auto t = Ouvrir("compresse", objet);
    char octets[100];
    auto r = t->LirePlage(octets, sizeof octets, 0, message);
    EXPECT_EQ(r.Code, Code::Abandon);
    EXPECT_EQ(message, "Échec de téléchargement : le serveur envoie le fichier compressé "
                       "(Content-Encoding : gzip).");

    auto frais = Ouvrir("frais", objet);
    EXPECT_EQ(frais->LirePlage(octets, sizeof octets, 0, message).Code, Code::Reussi);
    frais->DemanderCopieFraiche();
    r = frais->LirePlage(octets, sizeof octets, 100, message);
    EXPECT_EQ(r.Code, Code::Reussi);
    EXPECT_EQ(std::string(octets, 100), contenu.substr(100, 100));
    const auto lignes = Journal(serveurs, "/frais/" + objet, 2);
    ASSERT_EQ(lignes.size(), 2u);
    EXPECT_NE(lignes[0].find("\"identity\" \"-\" \"-\""), std::string::npos) << lignes[0];
    EXPECT_NE(lignes[1].find("\"identity\" \"no-cache\" \"no-cache\""), std::string::npos)
        << lignes[1];
}

TEST_F(TransfertWin32, Un401DemandeLesIdentifiantsAuPlusTroisFois) {
    const std::string contenu = Publier("prive", 5000, 9);
    char octets[1000];
    {
        ui.identifiants = {{"anne", "faux"}, {"anne", "faux2"}, {"bob", "x"}, {"anne", "secret"}};
        auto t = Ouvrir("prive", objet);
        const auto r = t->LirePlage(octets, sizeof octets, 0, message);
        EXPECT_EQ(r.Code, Code::Reprendre);
        EXPECT_EQ(r.Statut, 401);
        EXPECT_EQ(message, "Erreur de téléchargement : accès refusé.");
        ASSERT_EQ(ui.questions.size(), 3u);
        EXPECT_FALSE(ui.questions[0].mandataire);
        EXPECT_EQ(ui.questions[0].adresse, "http://" + serveurs.Hote() + "/prive/" + objet);
    }
    {
        ui.identifiants.clear();
        auto t = Ouvrir("prive", objet);
        EXPECT_EQ(t->LirePlage(octets, sizeof octets, 0, message).Code, Code::Reprendre);
        EXPECT_EQ(message, "Erreur de téléchargement : accès refusé.");
        EXPECT_EQ(ui.questions.size(), 4u);
    }
    {
        // En silencieux, aucune question.
        TransfertHttp silencieux(&ui);
        silencieux.FixerSilencieux(true);
        ASSERT_TRUE(silencieux.Ouvrir(serveurs.Hote(), "prive", objet, {}, message));
        EXPECT_EQ(silencieux.LirePlage(octets, sizeof octets, 0, message).Code,
                  Code::Reprendre);
        EXPECT_EQ(message, "Erreur de téléchargement : accès refusé.");
        EXPECT_EQ(ui.questions.size(), 4u);
    }
    {
        // Les bons au deuxième essai : les données, et ils restent pour la lecture suivante.
        ui.identifiants = {{"anne", "faux"}, {"anne", "secret"}};
        auto t = Ouvrir("prive", objet);
        auto r = t->LirePlage(octets, sizeof octets, 2000, message);
        EXPECT_EQ(r.Code, Code::Reussi) << message;
        EXPECT_EQ(std::string(octets, 1000), contenu.substr(2000, 1000));
        EXPECT_EQ(ui.questions.size(), 6u);
        r = t->LirePlage(octets, sizeof octets, 3000, message);
        EXPECT_EQ(r.Code, Code::Reussi) << message;
        EXPECT_EQ(std::string(octets, 1000), contenu.substr(3000, 1000));
        EXPECT_EQ(ui.questions.size(), 6u);
    }
}

TEST_F(TransfertWin32, UnMandataireNommeRelaieLesPlages) {
    const std::string contenu = Publier("mandataire", 100000, 11);
    // Le serveur sous un autre nom que celui des autres tests : WinINet garde ses
    // connexions par serveur pour tout le processus, et en reprendrait une directe.
    TransfertHttp t(&ui);
    ASSERT_TRUE(t.Ouvrir("localhost:" + std::to_string(serveurs.port), "mandataire", objet,
                         {"127.0.0.1", serveurs.portMandataire}, message))
        << message;
    std::string tampon(5000, '\0');
    for (const std::uint32_t decalage : {0u, 70000u}) {
        const auto r = t.LirePlage(tampon.data(), 5000, decalage, message);
        EXPECT_EQ(r.Code, Code::Reussi) << message;
        EXPECT_TRUE(tampon == contenu.substr(decalage, 5000));
    }
    const auto lignes = Journal(serveurs, "/mandataire/" + objet, 2);
    ASSERT_EQ(lignes.size(), 2u);
    for (const auto& l : lignes)
        EXPECT_NE(l.find("tinyproxy"), std::string::npos) << l;
    EXPECT_NE(lignes[1].find("\"bytes=70000-74999\""), std::string::npos);
}

TEST_F(TransfertWin32, SansMandataireNommeLeReglageDuSystemeSApplique) {
    const std::string contenu = Publier("systeme", 1000, 19);
    // Le nom du serveur que seul ce test emploie (connexions gardées par WinINet).
    const std::string hote = "localhost:" + std::to_string(serveurs.port);
    char octets[100];
    {
        ReglagesInternet reglages(L"127.0.0.1:" + std::to_wstring(serveurs.portMandataire), 1);
        TransfertHttp t(&ui);
        ASSERT_TRUE(t.Ouvrir(hote, "systeme", objet, {}, message));
        EXPECT_EQ(t.LirePlage(octets, sizeof octets, 0, message).Code, Code::Reussi) << message;
        EXPECT_EQ(std::string(octets, 100), contenu.substr(0, 100));
    }
    const auto lignes = Journal(serveurs, "/systeme/" + objet, 1);
    ASSERT_EQ(lignes.size(), 1u);
    EXPECT_NE(lignes[0].find("tinyproxy"), std::string::npos) << lignes[0];
}

TEST_F(TransfertWin32, Un407DuMandataireDemandeSesIdentifiantsEtLesGarde) {
    const std::string contenu = Publier("protege", 10000, 17);
    const std::string mandataire = "http://127.0.0.1:" + std::to_string(serveurs.portMandataireProtege);
    const std::string hote = "localhost:" + std::to_string(serveurs.port);
    char octets[1000];
    {
        ui.identifiants.clear();
        TransfertHttp t(&ui);
        ASSERT_TRUE(t.Ouvrir(hote, "protege", objet, {"127.0.0.1", serveurs.portMandataireProtege},
                             message));
        const auto r = t.LirePlage(octets, sizeof octets, 0, message);
        EXPECT_EQ(r.Code, Code::Reprendre);
        EXPECT_EQ(r.Statut, 407);
        EXPECT_EQ(message, "Erreur de téléchargement : accès refusé.");
        ASSERT_EQ(ui.questions.size(), 1u);
        EXPECT_TRUE(ui.questions[0].mandataire);
        EXPECT_EQ(ui.questions[0].adresse, mandataire);
    }
    ui.identifiants = {{"passe", "muraille"}};
    TransfertHttp t(&ui);
    ASSERT_TRUE(t.Ouvrir(hote, "protege", objet, {"127.0.0.1", serveurs.portMandataireProtege},
                         message));
    for (const std::uint32_t decalage : {0u, 5000u}) {
        const auto r = t.LirePlage(octets, sizeof octets, decalage, message);
        EXPECT_EQ(r.Code, Code::Reussi) << message;
        EXPECT_EQ(std::string(octets, 1000), contenu.substr(decalage, 1000));
    }
    EXPECT_EQ(ui.questions.size(), 2u);
    // Donnés d'avance, ils ouvrent le mandataire sans question.
    ParametresConnexion connexion{"127.0.0.1", serveurs.portMandataireProtege};
    connexion.Utilisateur = "passe";
    connexion.MotDePasse = "muraille";
    TransfertHttp avance(&ui);
    ASSERT_TRUE(avance.Ouvrir(hote, "protege", objet, connexion, message));
    EXPECT_EQ(avance.LirePlage(octets, sizeof octets, 100, message).Code, Code::Reussi) << message;
    EXPECT_EQ(ui.questions.size(), 2u);
}

} // namespace
} // namespace emporteur::test
