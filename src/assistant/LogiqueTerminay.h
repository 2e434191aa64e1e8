#pragma once
// La page de fin sans fenêtre : le compte rendu fichier par fichier, la case de
// lancement, le dossier, et Terminer qui lance au besoin le programme téléchargé.

#include "commun/ContexteTelechargement.h"

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace emporteur {

// Titre de la fenêtre du programme de mise à jour, mise au premier plan après son lancement.
inline constexpr const char* kTitreFenetreMiseAJour = "Mise à jour d'Orthalis";

struct LigneCompteRendu {
    std::string Fichier;  // NomLocal
    std::string Resultat; // "Réussi" ou "Échec"
};

struct CompteRendu {
    std::vector<LigneCompteRendu> Lignes; // de haut en bas : le dernier fichier en tête
    // Case « Lancer » cochée et disponible ; sinon grisée et décochée.
    bool Lancement = false;
    std::string TexteDossier;
};

// À l'activation. La case n'est offerte que si chaque fichier a réussi, qu'un seul
// est à lancer et que l'interface sait l'ouvrir (SaitOuvrir) ; avec des clés, il faut
// de plus que son empreinte ait été vérifiée. Sans élément choisi : aucune ligne, pas
// de case, dossier vide.
CompteRendu PreparerCompteRendu(const ContexteTelechargement& ctx);

// « Explorer ce dossier... » : le dossier de l'élément choisi ; rien sans élément.
// Un échec est dit par le service de messages.
void ExplorerDossierTelechargement(const ContexteTelechargement& ctx);

// Attente entre deux recherches de la fenêtre ; remplaçable dans les essais.
using Attente = std::function<void(std::chrono::milliseconds)>;

// Terminer. Avec `lancer` (la case cochée), ouvre chaque fichier réussi et à lancer
// qui est encore dans le dossier ; un fichier disparu, ou dont l'empreinte vérifiée
// ne correspond plus quand il va être lancé, est passé sans message. Hors
// mise à niveau, cherche ensuite la fenêtre kTitreFenetreMiseAJour pour la mettre
// au premier plan : 5 essais à 1 s d'intervalle au plus. Attente nulle : sommeil réel.
// Un lancement raté est dit par le service de messages, sans attendre de fenêtre.
void TerminerAssistant(const ContexteTelechargement& ctx, bool lancer,
                       const Attente& attendre = {});

} // namespace emporteur
