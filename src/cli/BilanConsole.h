#pragma once
// Le résultat d'un téléchargement en console, sur la sortie standard : une ligne par
// fichier avec son bilan, ou un seul objet JSON.

#include "commun/EnsembleFichiers.h"
#include "download/Progression.h"

#include <string>
#include <vector>

namespace emporteur::cli {

// Ce que l'utilisateur a demandé de voir.
struct OptionsSuivi {
    bool discret = false; // -q : rien sur un téléchargement réussi
    bool json = false;    // le résultat en JSON
    int connexions = 1;   // requêtes en vol au plus par fichier
};

// « NOM : Réussi (N segments reçus, M déjà présents, X Mo en Y s) ».
std::string LigneBilan(const Ingredient& fichier, const Progression::BilanFichier& bilan);

// Une ligne de bilan par fichier, dans l'ordre de l'ensemble.
std::string TexteBilan(const EnsembleFichiers& ensemble,
                       const std::vector<Progression::BilanFichier>& bilans);

// Code de sortie après Ctrl-C.
inline constexpr int kCodeAnnule = 130;
// 128 + le signal reçu : Ctrl-C (130), SIGTERM (143), SIGHUP (129).
inline bool EstCodeArret(int code) {
    return code == 129 || code == kCodeAnnule || code == 143;
}

// L'objet JSON du résultat : le code de sortie et un objet par fichier ; après Ctrl-C,
// chaque fichier est « annule ».
std::string JsonBilan(const EnsembleFichiers& ensemble,
                      const std::vector<Progression::BilanFichier>& bilans, int code);

} // namespace emporteur::cli
