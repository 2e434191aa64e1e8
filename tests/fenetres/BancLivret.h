#pragma once
// Banc des tests du livret : Orthalis 6.1.0.12 installé, un serveur local qui sert
// le catalogue, l'environnement isolé, et l'automate qui répond aux fenêtres.

#include "Automate.h"
#include "autocheck/DernierAvis.h"
#include "commun/ContexteTelechargement.h"
#include "fenetres/InterfaceQt.h"
#include "fenetres/Livret.h"
#include "fenetres/MajAutoDialogueChoix.h"
#include "outils/DossierTemporaire.h"
#include "outils/ProduitInstalle.h"
#include "outils/ServeurDefaillant.h"

#include <QAbstractButton>

#include <gtest/gtest.h>

#include <memory>

namespace emporteur::test {

inline const std::string kDossierCatalogue = "/telecharger/assistants/Win/";

// Deux mises à jour sous un même titre (la seconde pour la version installée) et une
// documentation sous un autre.
inline const std::string kRecettesAvecMaj =
    "2.1.0.0\n"
    " ver=\"5.0.0.1\" produit=\"Orthalis 5.1\" verMaj=\"5.1.0.0\" titre=\"Mises à jour\" "
    "des=\"De 5.0 à 5.1\" cles=\"maj51\"\n"
    " ver=\"6.1.0.12\" produit=\"Orthalis 6.2\" verMaj=\"6.2.0.3\" titre=\"Mises à jour\" "
    "des=\"De 6.1 à 6.2\" cles=\"maj62\"\n"
    " ver=\"\" produit=\"Orthalis 6.2\" verMaj=\"\" titre=\"Documentation\" "
    "des=\"Guide d’Orthalis 6.2\" cles=\"guide\"\n";
inline const std::string kRecettesSansMaj =
    "2.1.0.0\n ver=\"5.0.0.1\" produit=\"Orthalis 5.1\" verMaj=\"5.1.0.0\" titre=\"T\" "
    "des=\"De 5.0 à 5.1\" cles=\"maj51\"\n";
inline const std::string kIngredients =
    "2.1.0.0\n"
    "cle=\"maj51\" site=\"serveur\" rep=\"maj\" taille=\"2000000\" tailleseg=\"1000000\" "
    "crc=\"1 2 \"\n"
    "cle=\"maj62\" site=\"serveur\" rep=\"maj\" taille=\"3000000\" tailleseg=\"1000000\" "
    "crc=\"1 2 3 \"\n"
    "cle=\"guide\" site=\"serveur\" rep=\"doc\" taille=\"1234567\" tailleseg=\"1000000\" "
    "crc=\"1 2 \"\n";
inline const std::string kBoutique7 =
    "boutique\ncle=\"Orthalis\" ver=\"7.0.0.1\" produit=\"Orthalis 7\" des=\"Vers 7\"\n";
inline const std::string kBoutique6 =
    "boutique\ncle=\"Orthalis\" ver=\"6.0.0.1\" produit=\"Orthalis 6\" des=\"Vers 6\"\n";

// L'interface Qt réelle, qui note en plus les lancements et trouve tout de suite la
// fenêtre qu'on lui demande de mettre au premier plan.
class InterfaceNotee : public fenetres::InterfaceQt {
  public:
    std::vector<std::string> ouverts, premierPlan;
    bool ouvertureReussie = true; // faux : comme sans programme associé
    bool SaitOuvrir(const std::string&) override { return ouvertureReussie; }
    bool Ouvrir(const std::string& cible) override {
        ouverts.push_back(cible);
        return ouvertureReussie;
    }
    bool MettreAuPremierPlan(const std::string& titre) override {
        premierPlan.push_back(titre);
        return true;
    }
};

class BancLivret : public ::testing::Test {
  protected:
    void SetUp() override { InstallerProduit(env); }

    void Servir(const std::string& recettes, const std::string& boutique) {
        serveur.AjouterFichier(kDossierCatalogue + "RecettesOrthalis", recettes);
        serveur.AjouterFichier(kDossierCatalogue + "IngredientsOrthalis", kIngredients);
        serveur.AjouterFichier(kDossierCatalogue + "IngredientsBoutique", boutique);
    }

    // Une exécution de l'assistant dans ce mode, le livret construit mais pas montré.
    struct Execution {
        Execution(ModeExecution mode, bool connecte = true)
            : ctx(mode, ui), livret(ctx, mode, avis, dialogue, [connecte] { return connecte; }) {}
        DernierAvis avis;
        InterfaceNotee ui;
        ContexteTelechargement ctx;
        fenetres::DialogueAvisQt dialogue;
        fenetres::Livret livret;
    };

    // Clique Suivant sur la page courante et attend la page `attendue`.
    static bool Suivant(fenetres::Livret& livret, int attendue) {
        livret.button(QWizard::CommitButton)->click();
        return Attendre([&] { return livret.currentId() == attendue; });
    }

    EnvironnementIsole env;
    ServeurDefaillant serveur;
    VariableTemporaire hote{"EMPORTEUR_SERVEUR", serveur.Hote()};
    VariableTemporaire site{"EMPORTEUR_SITE", "site.mervane.test"};
    Automate automate;
};

} // namespace emporteur::test
