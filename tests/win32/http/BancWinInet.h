#pragma once
// Banc des tests du transport WinINet : les serveurs du côté Linux que serveurs.sh a
// démarrés (ctest), leur journal, une interface aux réponses scriptées.

#include "http/TransfertHttp.h"
#include "outils/DossierTemporaire.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace emporteur::test {

using Code = CodeTransfert;

// Ce que serveurs.sh a écrit : ports de nginx, des deux tinyproxy (ouvert, à
// identifiants) et du serveur de pannes, racine servie, journal de nginx.
struct Serveurs {
    int port = 0, portMandataire = 0, portMandataireProtege = 0, portPannes = 0;
    std::string racine, journal;
    std::string Hote() const { return "127.0.0.1:" + std::to_string(port); }
};

inline Serveurs LireServeurs() {
    Serveurs s;
    std::istringstream f(LireFichier(EMPORTEUR_SERVEURS_WIN32));
    f >> s.port >> s.portMandataire >> s.portMandataireProtege >> s.portPannes >> s.racine >>
        s.journal;
    return s;
}

// Les lignes du journal de nginx qui portent ce chemin (les tests partagent le serveur).
// nginx écrit après avoir répondu : on attend d'en voir `combien`, 5 s au plus.
inline std::vector<std::string> Journal(const Serveurs& s, const std::string& chemin,
                                 std::size_t combien) {
    std::vector<std::string> lignes;
    for (int essai = 0; essai < 100; ++essai) {
        lignes.clear();
        std::istringstream f(LireFichier(s.journal));
        for (std::string ligne; std::getline(f, ligne);)
            if (ligne.find(" " + chemin + " ") != std::string::npos) lignes.push_back(ligne);
        if (lignes.size() >= combien) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return lignes;
}

// Réponses scriptées aux questions d'identifiants, chaque question notée.
class InterfaceScriptee : public InterfaceUtilisateur {
  public:
    struct Question {
        std::string adresse;
        bool mandataire;
    };
    std::deque<std::pair<std::string, std::string>> identifiants; // vide : refus
    std::vector<Question> questions;
    int boites = 0;

    Reponse BoiteMessage(const std::string&, const std::string&, unsigned) override {
        ++boites;
        return Reponse::Ok;
    }
    bool DemanderIdentifiants(const std::string& adresse, bool mandataire, std::string& u,
                              std::string& m) override {
        questions.push_back({adresse, mandataire});
        if (identifiants.empty()) return false;
        std::tie(u, m) = identifiants.front();
        identifiants.pop_front();
        return true;
    }
    bool Ouvrir(const std::string&) override { return false; }
    bool Explorer(const std::string&) override { return false; }
    bool ChoisirDossier(const std::string&, std::string&) override { return false; }
    bool MettreAuPremierPlan(const std::string&) override { return false; }
    void TerminerProcessus(int) override {}
};

class TransfertWin32 : public ::testing::Test {
  protected:
    void SetUp() override {
        serveurs = LireServeurs();
        ASSERT_NE(serveurs.port, 0) << "à lancer par ctest : serveurs.sh démarre les serveurs";
    }
    // Un objet de contenu reproductible dans la racine de nginx, sous un nom propre à
    // cette exécution (le journal du serveur sert à toute la suite).
    std::string Publier(const std::string& dossier, std::size_t taille, std::uint32_t graine) {
        std::string contenu = OctetsReproductibles(taille, graine);
        EcrireFichier(serveurs.racine + "/" + dossier + "/" + objet, contenu);
        return contenu;
    }
    std::unique_ptr<TransfertHttp> Ouvrir(const std::string& dossier, const std::string& nom,
                                          ParametresConnexion connexion = {},
                                          TransfertHttp::Rappel rappel = {}) {
        auto t = std::make_unique<TransfertHttp>(&ui, std::move(rappel));
        EXPECT_TRUE(t->Ouvrir(serveurs.Hote(), dossier, nom, connexion, message)) << message;
        return t;
    }

    Serveurs serveurs;
    const std::string objet =
        "objet-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) +
        ".bin";
    InterfaceScriptee ui;
    std::string message;
};

} // namespace emporteur::test
