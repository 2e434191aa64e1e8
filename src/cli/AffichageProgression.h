#pragma once
// Ce que la console montre pendant un téléchargement, sur la sortie d'erreur : les
// lignes du journal au fur et à mesure et, sur un terminal, une ligne de progression
// redessinée sous elles (10 fois par seconde au plus, jamais plus large que le
// terminal) ; hors terminal, une ligne de progression simple toutes les 10 s.
// En mode discret, rien pendant le téléchargement.

#include "cli/LigneProgression.h"
#include "download/Progression.h"

#include <chrono>
#include <cstdio>
#include <deque>
#include <string>
#include <utility>

namespace emporteur::cli {

class AffichageProgression {
  public:
    using Horloge = std::chrono::steady_clock;

    // `total` : octets de tous les fichiers ; `terminal` : `sortie` est un terminal.
    AffichageProgression(std::FILE* sortie, bool terminal, bool discret, std::uint64_t total);

    // Un relevé : les lignes neuves du journal `journal`, puis la progression si son
    // heure est venue.
    void Relever(const Progression::Releve& releve, const std::string& journal);
    // Fin : la ligne de progression effacée, le reste du journal écrit (la dernière
    // ligne même inachevée).
    void Finir(const std::string& journal);


  private:
    void EcrireLignes(const std::string& journal, bool jusquAuBout);
    EtatLigne Etat(const Progression::Releve& releve);

    std::FILE* sortie_;
    bool terminal_, discret_;
    std::uint64_t total_;
    std::size_t deja_ = 0;   // octets du journal déjà écrits
    bool ligneAffichee_ = false;
    Horloge::time_point debut_ = Horloge::now();
    Horloge::time_point dernierDessin_{};
    Horloge::time_point derniereLigneSimple_ = Horloge::now();
    // (instant, octets reçus) des 5 dernières secondes : le débit du moment.
    std::deque<std::pair<Horloge::time_point, std::uint64_t>> fenetre_;
};

} // namespace emporteur::cli
