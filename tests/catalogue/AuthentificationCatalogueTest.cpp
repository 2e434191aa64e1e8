// Textes du catalogue signés, servis par le vrai serveur de pannes, avec des clés et
// des signatures faites par le vrai outil openssl ; les clés sont données au contexte
// comme la construction les donne au programme.
#include "catalogue/AuthentificationCatalogue.h"
#include "catalogue/RecuperationCatalogue.h"
#include "commun/ClesPubliques.h"
#include "messages/Journal.h"
#include "outils/ClesOpenssl.h"
#include "outils/DossierTemporaire.h"
#include "outils/InterfaceEnregistreuse.h"
#include "outils/ServeurDefaillant.h"

#include <gtest/gtest.h>

namespace emporteur {
namespace {

const std::string kDossier = "/telecharger/assistants/Win/";
const std::string kNoms[] = {"RecettesOrthalis", "IngredientsOrthalis", "IngredientsBoutique"};
const std::string kEmpreinte(64, 'a');

const std::string kRecettes =
    "2.1.0.0\n ver=\"6.1.0.12\" produit=\"Orthalis 6.2\" "
    "verMaj=\"6.2.0.3\" titre=\"Mises à jour\" des=\"x\" cles=\"maj62\"\n";
const std::string kIngredients =
    "2.1.0.0\ncle=\"maj62\" site=\"serveur\" rep=\"maj\" taille=\"10\" "
    "tailleseg=\"10\" crc=\"1 \" sha256=\"" +
    kEmpreinte + "\"\n";
const std::string kBoutique = "boutique\ncle=\"Orthalis\" ver=\"7.0.0.1\" produit=\"Orthalis 7\"\n";

// Ce que le fabricant publie : chaque texte avec sa ligne de série et sa signature.
struct Publication {
    std::string textes[3] = {kRecettes, kIngredients, kBoutique};
    std::string signatures[3];
    bool signer[3] = {true, true, true};
};

class Authentification : public ::testing::Test {
  protected:
    Authentification() { ctx.ClesPubliques = {cle.PubliquePem()}; }

    Publication Signee(const test::CleOpenssl& par, unsigned serie,
                       const std::string& expire = "2099-12-31") {
        Publication p;
        for (int i = 0; i < 3; ++i) {
            p.textes[i] = test::AvecSerie(p.textes[i], serie, expire);
            p.signatures[i] = par.Signer(p.textes[i]);
        }
        return p;
    }
    void Servir(const Publication& p) {
        for (int i = 0; i < 3; ++i) {
            serveur.AjouterFichier(kDossier + kNoms[i], p.textes[i]);
            const std::string sig = kDossier + kNoms[i] + ".sig";
            serveur.Reparer(sig);
            if (p.signer[i])
                serveur.AjouterFichier(sig, p.signatures[i]);
            else
                serveur.RepondreStatut(sig, 404);
        }
    }
    // Le catalogue est-il accepté ? Sinon la raison que le repli sur le navigateur montrera.
    std::string Refus(const Publication& p) {
        Servir(p);
        ctx.Recettes.clear();
        const VerdictCatalogue verdict = LireCatalogue(ctx);
        if (verdict.EstLu()) return "";
        return verdict.Details.empty() ? "(aucune raison)" : verdict.Details;
    }

    test::EnvironnementIsole env;
    test::ServeurDefaillant serveur;
    test::VariableTemporaire hote{"EMPORTEUR_SERVEUR", serveur.Hote()};
    test::InterfaceEnregistreuse ui;
    ContexteTelechargement ctx{ModeExecution::Ordinaire, ui};
    const test::CleOpenssl cle;
};

TEST_F(Authentification, BonneSignatureAccepteeEtSerieRetenue) {
    EXPECT_EQ(Refus(Signee(cle, 4)), "");
    ASSERT_EQ(ctx.Recettes.size(), 1u);
    EXPECT_EQ(ctx.Recettes[0]->Fichiers[0]->Empreinte, kEmpreinte);
    for (const auto& nom : kNoms)
        EXPECT_EQ(AuthentificationCatalogue::SerieRetenue(nom), 4u) << nom;
}

TEST_F(Authentification, ChaqueFalsificationRefuseeAvecSaRaison) {
    const test::CleOpenssl autre;
    const struct {
        const char* cas;
        std::function<void(Publication&)> alterer;
        std::string raison;
    } cas[] = {
        {"un octet changé dans les recettes", [](Publication& p) { p.textes[0][30] ^= 1; },
         "La signature du fichier de configuration « RecettesOrthalis » n’est pas valide"},
        {"un octet changé dans les ingrédients", [](Publication& p) { p.textes[1][60] ^= 1; },
         "La signature du fichier de configuration « IngredientsOrthalis » n’est pas valide"},
        {"un octet changé dans la boutique", [](Publication& p) { p.textes[2].back() ^= 1; },
         "La signature du fichier de configuration « IngredientsBoutique » n’est pas valide"},
        {"signature d'une autre clé",
         [&](Publication& p) { p.signatures[1] = autre.Signer(p.textes[1]); },
         "« IngredientsOrthalis » n’est pas valide (fichier modifié ou clé inconnue)"},
        {"signature absente", [](Publication& p) { p.signer[2] = false; },
         "Le fichier de configuration « IngredientsBoutique » n’est pas signé :\n"},
        {"ligne de série absente",
         [&](Publication& p) {
             p.textes[0] = kRecettes;
             p.signatures[0] = cle.Signer(p.textes[0]);
         },
         "« RecettesOrthalis » ne porte pas de ligne de série valide."},
        {"sha256= absent",
         [&](Publication& p) {
             p.textes[1] =
                 test::AvecSerie(kIngredients.substr(0, kIngredients.find(" sha256=")) + "\n", 4);
             p.signatures[1] = cle.Signer(p.textes[1]);
         },
         "« IngredientsOrthalis » ne donne pas l’empreinte SHA-256 du fichier « maj62 »."},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.cas);
        test::EnvironnementIsole propre; // aucune série retenue d'un cas à l'autre
        test::VariableTemporaire memeServeur{"EMPORTEUR_SERVEUR", serveur.Hote()};
        serveur.OublierRequetes();
        Publication p = Signee(cle, 4);
        c.alterer(p);
        const std::string refus = Refus(p);
        EXPECT_NE(refus.find("Erreur à la lecture du fichier de configuration :\n"),
                  std::string::npos)
            << refus;
        EXPECT_NE(refus.find(c.raison), std::string::npos) << refus;
        // Rien n'est interprété d'un catalogue refusé.
        EXPECT_TRUE(ctx.Recettes.empty());
    }
}

TEST_F(Authentification, EnModeDiscretRienDeMontre) {
    ContexteTelechargement discret{ModeExecution::MajDiscrete, ui};
    discret.ClesPubliques = ctx.ClesPubliques;
    Publication p = Signee(cle, 2);
    p.textes[0][20] ^= 1;
    Servir(p);
    EXPECT_FALSE(LireCatalogue(discret).EstLu());
    EXPECT_TRUE(ui.Appels("BoiteMessage").empty());
    EXPECT_TRUE(discret.Recettes.empty());
}

TEST_F(Authentification, SerieAncienneRefuseeApresUneRecenteEtExpireeRefusee) {
    const struct {
        unsigned serie;
        const char* expire;
        std::string raison; // vide : accepté
    } etapes[] = {
        {5, "2099-12-31", ""},
        {4, "2099-12-31",
         "« RecettesOrthalis » est plus ancien que celui déjà reçu (série 4, "
         "déjà reçue : 5)."},
        {5, "2099-12-31", ""},
        {7, "2099-12-31", ""},
        {8, "2001-02-03", "« RecettesOrthalis » a expiré le 2001-02-03."},
    };
    for (const auto& e : etapes) {
        SCOPED_TRACE(e.serie);
        const std::string refus = Refus(Signee(cle, e.serie, e.expire));
        if (e.raison.empty()) {
            EXPECT_EQ(refus, "");
        } else {
            EXPECT_NE(refus.find(e.raison), std::string::npos) << refus;
        }
    }
    EXPECT_EQ(AuthentificationCatalogue::SerieRetenue("RecettesOrthalis"), 7u);
}

TEST_F(Authentification, RotationLUneOuLAutreDesDeuxClesAcceptee) {
    const test::CleOpenssl ancienne, nouvelle, etrangere;
    ctx.ClesPubliques = {ancienne.PubliquePem(), nouvelle.PubliquePem()};
    EXPECT_EQ(Refus(Signee(ancienne, 1)), "");
    EXPECT_EQ(Refus(Signee(nouvelle, 2)), "");
    EXPECT_NE(Refus(Signee(etrangere, 3)).find("clé inconnue"), std::string::npos);
}

TEST_F(Authentification, SansCleLeCatalogueEstLuCommeAujourdhui) {
    ctx.ClesPubliques.clear();
    Publication p;
    for (auto& s : p.signer)
        s = false;
    EXPECT_EQ(Refus(p), "");
    EXPECT_EQ(ctx.Recettes.size(), 1u);
    // Aucune signature demandée, aucune série retenue.
    for (const auto& nom : kNoms) {
        EXPECT_EQ(serveur.Requetes(kDossier + nom + ".sig"), 0) << nom;
        EXPECT_EQ(AuthentificationCatalogue::SerieRetenue(nom), 0u);
    }
}

TEST_F(Authentification, ListeDeMiseANiveauSigneeACoteDeSonAdresse) {
    serveur.AjouterFichier(kDossier + "IngredientsBoutique", kBoutique);
    const std::string liste = test::AvecSerie(
        kIngredients.substr(0, kIngredients.size() - 1) + " des=\"Orthalis 7\"\n", 3);
    serveur.AjouterFichier("/ingredients.php", liste);
    serveur.AjouterFichier("/ingredients.php.sig", cle.Signer(liste));
    EXPECT_TRUE(LireCatalogueMiseANiveau(ctx).EstLu());
    EXPECT_EQ(ctx.Recettes.size(), 2u);
    EXPECT_EQ(AuthentificationCatalogue::SerieRetenue("ingredients.php"), 3u);

    std::string falsifiee = liste;
    falsifiee[falsifiee.size() - 3] ^= 1;
    serveur.AjouterFichier("/ingredients.php", falsifiee);
    const VerdictCatalogue verdict = LireCatalogueMiseANiveau(ctx);
    EXPECT_FALSE(verdict.EstLu());
    EXPECT_NE(verdict.Details.find("« ingredients.php » n’est pas valide"), std::string::npos)
        << verdict.Details;
}

TEST(HorlogeFausse, SignaleeCommeTelleAvantLaDateDeConstruction) {
    test::EnvironnementIsole env;
    const test::CleOpenssl cle;
    const std::string texte = test::AvecSerie(kBoutique, 1, "2030-01-01");
    const std::string sig = cle.Signer(texte);
    const struct {
        const char* jour;
        std::string raison;
    } cas[] = {
        {"2026-06-01", ""},
        {"2025-12-31", "L’horloge de cet ordinateur indique le 2025-12-31, avant la date de cet "
                       "Emporteur (2026-01-01)"},
        {"2030-01-02", "a expiré le 2030-01-01."},
    };
    // L'horloge réelle de la machine de construction n'est pas fausse.
    EXPECT_TRUE(DateValide(DateDuJour())) << DateDuJour();
    EXPECT_GE(DateDuJour(), std::string(DateConstruction()));
    for (const auto& c : cas) {
        Journal journal;
        const AuthentificationCatalogue auth(
            {cle.PubliquePem()}, [&] { return c.jour; }, "2026-01-01", &journal);
        std::string message;
        EXPECT_EQ(auth.Verifier("IngredientsBoutique", texte, &sig, "", false, message),
                  c.raison.empty())
            << c.jour;
        EXPECT_NE(message.find(c.raison), std::string::npos) << message;
        // Chaque refus a sa ligne au journal, même quand rien n'est montré.
        const std::string lignes = test::LireFichier(Journal::CheminFichier());
        EXPECT_EQ(lignes.find("(ALERTE)\tréponse=Ok\t\"" + message) != std::string::npos,
                  !c.raison.empty())
            << lignes;
    }
}

TEST(LigneSerie, LueInsereeEtRemplacee) {
    const struct {
        std::string texte;
        bool lue;
        unsigned serie;
    } lectures[] = {
        {"2.1.0.0\n# emporteur serie=12 expire=2030-05-06\nx\n", true, 12},
        {"2.1.0.0\r\n# emporteur serie=4294967295 expire=2030-05-06\r\nx\n", true, 4294967295u},
        {"2.1.0.0\n# emporteur serie=4294967296 expire=2030-05-06\n", false, 0},
        {"2.1.0.0\n# emporteur serie=-1 expire=2030-05-06\n", false, 0},
        {"2.1.0.0\n# emporteur serie=3 expire=2030-13-06\n", false, 0},
        {"2.1.0.0\n# emporteur serie=3\n", false, 0},
        {"2.1.0.0\nx\n# emporteur serie=3 expire=2030-05-06\n", false, 0},
        {"# emporteur serie=3 expire=2030-05-06\n", false, 0},
    };
    for (const auto& l : lectures) {
        LigneSerie ligne;
        EXPECT_EQ(LireLigneSerie(l.texte, ligne), l.lue) << l.texte;
        if (l.lue) {
            EXPECT_EQ(ligne.Serie, l.serie);
        }
    }
    const LigneSerie neuve{9, "2031-01-02"};
    EXPECT_EQ(AvecLigneSerie("2.1.0.0\nx\n", neuve),
              "2.1.0.0\n# emporteur serie=9 expire=2031-01-02\nx\n");
    EXPECT_EQ(AvecLigneSerie("2.1.0.0\r\n# emporteur serie=1 expire=2020-01-01\r\nx\r\n", neuve),
              "2.1.0.0\r\n# emporteur serie=9 expire=2031-01-02\r\nx\r\n");
}

} // namespace
} // namespace emporteur
