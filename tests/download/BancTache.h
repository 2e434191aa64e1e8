#pragma once
// Banc commun des tests de la tâche : environnement isolé sans mandataire implicite,
// serveur défaillant, dossier de destination temporaire et ensemble à remplir.

#include "commun/EnsembleFichiers.h"
#include "download/Crc32.h"
#include "download/PlanSegments.h"
#include "download/TacheTelechargement.h"
#include "outils/DossierTemporaire.h"
#include "outils/InterfaceEnregistreuse.h"
#include "outils/ServeurDefaillant.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace emporteur::test {

// Octets pseudo-aléatoires reproductibles.
inline std::string Octets(std::size_t taille, std::uint32_t graine = 4242) {
    return OctetsReproductibles(taille, graine);
}

// Liste CRC d'un contenu découpé en segments de `segment` octets.
inline std::vector<std::uint32_t> ListeCrc(const std::string& contenu, std::uint32_t segment) {
    const PlanSegments plan(static_cast<std::uint32_t>(contenu.size()), segment);
    std::vector<std::uint32_t> crcs;
    for (std::uint32_t i = 0; i < plan.Nombre(); ++i)
        crcs.push_back(Crc32(0, contenu.data() + plan.Debut(i), plan.Longueur(i)));
    return crcs;
}

// Lignes du journal (séparées par "\r\n"), la dernière même inachevée.
inline std::vector<std::string> Lignes(const std::string& journal) {
    std::vector<std::string> lignes;
    std::size_t debut = 0;
    for (auto fin = journal.find("\r\n"); fin != std::string::npos;
         debut = fin + 2, fin = journal.find("\r\n", debut))
        lignes.push_back(journal.substr(debut, fin - debut));
    if (debut < journal.size()) lignes.push_back(journal.substr(debut));
    return lignes;
}

inline bool Contient(const std::vector<std::string>& lignes, const std::string& ligne) {
    return std::find(lignes.begin(), lignes.end(), ligne) != lignes.end();
}

class BancTache : public ::testing::Test {
  protected:
    BancTache() { ensemble.Dossier = destination.Chemin() + "/"; }

    // Fichier servi sous /rep/<nomLocal>, ajouté à l'ensemble.
    Ingredient& Ajouter(const std::string& nomLocal, const std::string& contenu,
                        std::uint32_t segment) {
        serveur.AjouterFichier("/rep/" + nomLocal, contenu);
        auto ing = std::make_unique<Ingredient>();
        ing->Site = serveur.Hote();
        ing->Repertoire = "rep";
        ing->NomDistant = nomLocal;
        ing->NomLocal = nomLocal;
        ing->Taille = static_cast<std::int32_t>(contenu.size());
        ing->TailleSegment = static_cast<std::int32_t>(segment);
        ing->Crcs = ListeCrc(contenu, segment);
        ensemble.Fichiers.push_back(std::move(ing));
        return *ensemble.Fichiers.back();
    }

    // Tâche neuve ; l'espace libre est supposé suffisant et les attentes entre deux
    // essais sont notées dans `attentes` sans être faites.
    TacheTelechargement& Preparer() {
        tache = std::make_unique<TacheTelechargement>(&ensemble, &ui, connexions);
        tache->RemplacerRequeteEspace([](const std::string&, std::uint64_t& libre, int&) {
            libre = std::uint64_t{1} << 40;
            return true;
        });
        tache->RemplacerSommeil([this](std::chrono::milliseconds d, const std::atomic<bool>&) {
            std::lock_guard garde(verrouAttentes); // plusieurs connexions peuvent attendre
            attentes.push_back(d);
            return true;
        });
        return *tache;
    }

    // Exécute la tâche sur le fil du test.
    int Executer() { return TacheTelechargement::ProcedureFil(&Preparer()); }

    std::string Journal() const { return tache->Etat().Journal(); }
    std::vector<std::string> LignesJournal() const { return Lignes(Journal()); }
    std::string Chemin(const std::string& nom) const { return destination / nom; }
    std::string Segment(const std::string& nom, std::uint32_t i) const {
        return ensemble.Dossier + nom + "." + std::to_string(i);
    }
    std::string Assemblage(const std::string& nom) const {
        return ensemble.Dossier + "." + nom + ".assemblage";
    }
    bool Existe(const std::string& nom) const { return std::filesystem::exists(Chemin(nom)); }
    // Nombre de fichiers de segments "nom.N" restés dans la destination.
    int Segments(const std::string& nom) const {
        int n = 0;
        for (const auto& e : std::filesystem::directory_iterator(destination.Chemin()))
            n += e.path().filename().string().starts_with(nom + ".");
        return n;
    }

    EnvironnementIsole environnement;
    VariableTemporaire tous_{"all_proxy", std::nullopt}, TOUS_{"ALL_PROXY", std::nullopt},
        sauf_{"no_proxy", std::nullopt}, SAUF_{"NO_PROXY", std::nullopt},
        http_{"HTTP_PROXY", std::nullopt};
    ServeurDefaillant serveur;
    InterfaceEnregistreuse ui;
    DossierTemporaire destination;
    EnsembleFichiers ensemble;
    std::unique_ptr<TacheTelechargement> tache;
    std::vector<std::chrono::milliseconds> attentes;
    std::mutex verrouAttentes;
    int connexions = 1; // de la prochaine tâche préparée
};

} // namespace emporteur::test
