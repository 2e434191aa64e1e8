// Lecture des petits textes (catalogues) par le contexte partagé.
#include "BancHttp.h"

#include "commun/ContexteTelechargement.h"
#include "catalogue/RecuperationCatalogue.h"
#include "http/ChargerTexte.h"
#include "outils/MandataireTinyproxy.h"

namespace emporteur::test {
namespace {

class ChargerTexteTest : public BancHttp {
  protected:
    std::string texte;
};

TEST_F(ChargerTexteTest, RendLesOctetsBrutsOuLaDescriptionDeLEchec) {
    ContexteTelechargement ctx(ModeExecution::Ordinaire, ui);
    const std::string catalogue = "cle=valeur\r\nautre=\xE9t\xE9\r\n";
    serveur.AjouterFichier("/telecharger/assistants/Win/RecettesOrthalis", catalogue);
    EXPECT_TRUE(ChargerTexte(AccesDuContexte(ctx), serveur.Hote(), "telecharger/assistants/Win", "RecettesOrthalis",
                             texte, 128000));
    EXPECT_EQ(texte, catalogue);

    EXPECT_FALSE(ChargerTexte(AccesDuContexte(ctx), serveur.Hote(), "telecharger", "absent", texte, 128000));
    EXPECT_EQ(texte, "Erreur de téléchargement : fichier introuvable.");

    EXPECT_FALSE(ChargerTexte(AccesDuContexte(ctx), "http://[mauvais", "d", "o", texte, 128000));
    EXPECT_EQ(texte, "Erreur d'initialisation du téléchargement : \"L'adresse du serveur n'est "
                     "pas valide.\" code = 13.");
}

TEST_F(ChargerTexteTest, UnEchecAReprendreEstRetenteUneFois) {
    ContexteTelechargement ctx(ModeExecution::Ordinaire, ui);
    serveur.AjouterFichier("/t", "texte");
    serveur.RepondreStatut("/t", 503, 1);
    EXPECT_TRUE(ChargerTexte(AccesDuContexte(ctx), serveur.Hote(), "", "t", texte, 1000));
    EXPECT_EQ(texte, "texte");
    EXPECT_EQ(serveur.Requetes("/t"), 2);

    serveur.RepondreStatut("/t", 503, 2);
    EXPECT_FALSE(ChargerTexte(AccesDuContexte(ctx), serveur.Hote(), "", "t", texte, 1000));
    EXPECT_EQ(texte,
              "Erreur de téléchargement : \"Le serveur est momentanément indisponible.\" code = "
              "213503.");
    EXPECT_EQ(serveur.Requetes("/t"), 4);
}

TEST_F(ChargerTexteTest, UnTexteQuiRemplitLaCapaciteEstUnEchecEtNonUnTexteTronque) {
    ContexteTelechargement ctx(ModeExecution::Ordinaire, ui);
    serveur.AjouterFichier("/juste", std::string(99, 'a'));
    serveur.AjouterFichier("/plein", std::string(100, 'a'));
    serveur.AjouterFichier("/trop", std::string(5000, 'a'));
    EXPECT_TRUE(ChargerTexte(AccesDuContexte(ctx), serveur.Hote(), "", "juste", texte, 100));
    EXPECT_EQ(texte.size(), 99u);
    for (const char* objet : {"plein", "trop"}) {
        EXPECT_FALSE(ChargerTexte(AccesDuContexte(ctx), serveur.Hote(), "", objet, texte, 100));
        EXPECT_EQ(texte, "Erreur de téléchargement : le texte reçu dépasse 99 octets.");
    }
    // Même sans plage respectée, on ne lit pas plus que la capacité.
    serveur.IgnorerPlage("/trop");
    EXPECT_FALSE(ChargerTexte(AccesDuContexte(ctx), serveur.Hote(), "", "trop", texte, 100));
    EXPECT_EQ(texte, "Erreur de téléchargement : le texte reçu dépasse 99 octets.");
}

TEST_F(ChargerTexteTest, EnModeDiscretRienNEstMontreEtRienNEstRetente) {
    ContexteTelechargement discret(ModeExecution::MajDiscrete, ui);
    EXPECT_FALSE(ChargerTexte(AccesDuContexte(discret), "hote-inexistant.invalid", "d", "o", texte, 128000));
    EXPECT_EQ(
        texte,
        "Erreur de téléchargement : \"Le nom du serveur n'a pas pu être résolu.\" code = 23.");
    serveur.AjouterFichier("/vide", "");
    serveur.IgnorerPlage("/vide");
    EXPECT_FALSE(ChargerTexte(AccesDuContexte(discret), serveur.Hote(), "", "vide", texte, 128000));
    EXPECT_EQ(serveur.Requetes("/vide"), 1);
    EXPECT_TRUE(ui.Appels().empty());

    // Hors du mode discret, l'invite de connexion apparaît à chaque envoi qui échoue.
    ContexteTelechargement ordinaire(ModeExecution::MajPlusMan, ui);
    EXPECT_FALSE(ChargerTexte(AccesDuContexte(ordinaire), "hote-inexistant.invalid", "d", "o", texte, 128000));
    EXPECT_EQ(ui.Appels("BoiteMessage").size(), 2u);
}

TEST_F(ChargerTexteTest, PasseParLeMandataireDuContexte) {
    MandataireTinyproxy mandataire;
    ContexteTelechargement ctx(ModeExecution::Ordinaire, ui);
    ctx.Connexion = {"127.0.0.1", mandataire.Port()};
    serveur.AjouterFichier("/t", "par le mandataire");
    EXPECT_TRUE(ChargerTexte(AccesDuContexte(ctx), serveur.Hote(), "", "t", texte, 1000));
    EXPECT_EQ(texte, "par le mandataire");
    EXPECT_NE(serveur.DerniereEntete("Via").find("tinyproxy"), std::string::npos);
}

} // namespace
} // namespace emporteur::test
