// HTTPS devant un vrai nginx dont le certificat vient d'une autorité privée : les
// variables d'usage et l'option du fichier d'autorités la font reconnaître ; sans elle,
// l'échec est définitif.
#include "http/AutoritesCertification.h"
#include "http/TransfertHttp.h"
#include "outils/AutoritePrivee.h"
#include "outils/DossierTemporaire.h"
#include "outils/ServeurNginx.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace emporteur::test {
namespace {

using Code = CodeTransfert;

class BancTls : public ::testing::Test {
  protected:
    void SetUp() override {
        EcrireFichier(racine / "dossier/objet.bin", contenu);
        nginx = std::make_unique<ServeurNginx>(racine.Chemin(), autorite.DirectivesNginx(), " ssl");
    }

    ResultatTransfert Lire(const ParametresConnexion& connexion = {}) {
        TransfertHttp t;
        EXPECT_TRUE(
            t.Ouvrir("https://" + nginx->Hote(), "dossier", "objet.bin", connexion, message));
        tampon.assign(1000, '\0');
        return t.LirePlage(tampon.data(), 1000, 500, message);
    }

    EnvironnementIsole environnement;
    VariableTemporaire paquet_{"CURL_CA_BUNDLE", std::nullopt},
        fichier_{"SSL_CERT_FILE", std::nullopt}, dossier_{"SSL_CERT_DIR", std::nullopt};
    AutoritePrivee autorite;
    DossierTemporaire racine;
    std::unique_ptr<ServeurNginx> nginx;
    const std::string contenu = OctetsReproductibles(5000, 3);
    std::string message, tampon;
};

TEST_F(BancTls, SansLAutoritePriveeLEchecEstDefinitifEtExplique) {
    const auto r = Lire();
    EXPECT_EQ(r.Code, Code::Abandon);
    EXPECT_EQ(r.Octets, 0u);
    EXPECT_EQ(message, "Erreur de téléchargement : \"Le certificat de sécurité du serveur n'est "
                       "pas valide.\" code = 23.");
    // Un fichier d'autorités illisible : définitif aussi, et dit comme tel.
    const auto illisible = Lire({"", 80, "", "", racine / "absent.pem"});
    EXPECT_EQ(illisible.Code, Code::Abandon);
    EXPECT_EQ(message, "Erreur de téléchargement : \"Le fichier des autorités de certification "
                       "est illisible.\" code = 23.");
}

TEST_F(BancTls, LAutoritePriveeSeDonneParChaqueVariableOuParLOption) {
    struct Cas {
        const char* variable; // nullptr : l'option du fichier d'autorités
        bool dossier;
    };
    for (const Cas c : {Cas{"CURL_CA_BUNDLE", false}, Cas{"SSL_CERT_FILE", false},
                        Cas{"SSL_CERT_DIR", true}, Cas{nullptr, false}}) {
        const std::string valeur =
            c.dossier ? autorite.DossierAutorites() : autorite.CertificatAutorite();
        std::optional<VariableTemporaire> variable;
        ParametresConnexion connexion;
        if (c.variable)
            variable.emplace(c.variable, valeur);
        else
            connexion.FichierAutorites = valeur;
        const auto r = Lire(connexion);
        const std::string nom = c.variable ? c.variable : "option";
        EXPECT_EQ(r.Code, Code::Reussi) << nom << " : " << message;
        EXPECT_EQ(r.Statut, 206) << nom;
        EXPECT_EQ(tampon, contenu.substr(500, 1000)) << nom;
    }
}

TEST(AutoritesCertification, LOptionPuisLesVariablesDansLOrdreDUsage) {
    EnvironnementIsole environnement;
    struct Cas {
        std::string impose;
        std::optional<std::string> paquet, fichier, dossier;
        std::string fichierLu, dossierLu;
    };
    const std::vector<Cas> cas = {
        {"", std::nullopt, std::nullopt, std::nullopt, "", ""},
        {"", "/a.pem", "/b.pem", "/c", "/a.pem", "/c"},
        {"", std::nullopt, "/b.pem", std::nullopt, "/b.pem", ""},
        {"", "", "/b.pem", "", "/b.pem", ""}, // une variable vide ne compte pas
        {"/o.pem", "/a.pem", "/b.pem", "/c", "/o.pem", "/c"},
    };
    for (const auto& c : cas) {
        VariableTemporaire p("CURL_CA_BUNDLE", c.paquet), f("SSL_CERT_FILE", c.fichier),
            d("SSL_CERT_DIR", c.dossier);
        const auto a = LireAutoritesCertification(c.impose);
        EXPECT_EQ(a.Fichier, c.fichierLu) << c.impose << c.paquet.value_or("-");
        EXPECT_EQ(a.Dossier, c.dossierLu);
    }
}

} // namespace
} // namespace emporteur::test
