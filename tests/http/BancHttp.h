#pragma once
// Banc commun des tests du transport : environnement isolé sans mandataire implicite,
// serveur défaillant servant /dossier/objet.bin, interface enregistreuse.

#include "http/TransfertHttp.h"
#include "outils/DossierTemporaire.h"
#include "outils/InterfaceEnregistreuse.h"
#include "outils/ServeurDefaillant.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace emporteur::test {

// Octets pseudo-aléatoires reproductibles : une plage décalée ne ressemble pas à la bonne.
inline std::string Motif(std::size_t taille, std::uint32_t graine = 12345) {
    return OctetsReproductibles(taille, graine);
}

// Tampon entouré d'octets témoins, pour prouver qu'on n'écrit jamais hors de la plage.
struct TamponGarde {
    static constexpr std::size_t Garde = 64;
    static constexpr char Temoin = '\x5A';
    explicit TamponGarde(std::size_t longueur)
        : octets(longueur + 2 * Garde, Temoin), n(longueur) {}
    void* Donnees() { return octets.data() + Garde; }
    std::string Contenu(std::size_t combien) const { return octets.substr(Garde, combien); }
    // Vrai si rien n'a été écrit avant le début ni après `longueur`.
    bool GardesIntactes() const {
        return octets.substr(0, Garde) == std::string(Garde, Temoin) &&
               octets.substr(Garde + n) == std::string(Garde, Temoin);
    }
    bool Intact() const { return octets == std::string(octets.size(), Temoin); }
    std::string octets;
    std::size_t n;
};

class BancHttp : public ::testing::Test {
  protected:
    static constexpr const char* Chemin = "/dossier/objet.bin";

    void SetUp() override { serveur.AjouterFichier(Chemin, contenu); }

    // Un transfert ouvert sur /dossier/objet.bin (direct, ou par le mandataire donné).
    std::unique_ptr<TransfertHttp> Ouvrir(TransfertHttp::Rappel rappel = {},
                                          ParametresConnexion connexion = {}) {
        auto t = std::make_unique<TransfertHttp>(&ui, std::move(rappel));
        std::string message = "ancien";
        EXPECT_TRUE(t->Ouvrir(serveur.Hote(), "dossier", "objet.bin", connexion, message));
        EXPECT_EQ(message, "");
        return t;
    }

    EnvironnementIsole environnement;
    VariableTemporaire tous_{"all_proxy", std::nullopt}, TOUS_{"ALL_PROXY", std::nullopt},
        sauf_{"no_proxy", std::nullopt}, SAUF_{"NO_PROXY", std::nullopt};
    ServeurDefaillant serveur;
    InterfaceEnregistreuse ui;
    const std::string contenu = Motif(100000);
    std::string message;
};

} // namespace emporteur::test
