#pragma once
// La page de téléchargement sans fenêtre : ses libellés tirés du relevé, le code
// de sortie du fil de travail, et l'arrêt, qui dit si la page peut être quittée
// et si l'échec doit être annoncé.

#include <cstdint>
#include <functional>
#include <future>
#include <optional>
#include <string>

namespace emporteur {

// Boîte sans propriétaire, titre "Emporteur", icône d'erreur, bouton OK.
inline constexpr const char* kMessageEchecTelechargement =
    "Erreur lors du téléchargement :\nvoir la fenêtre des messages pour plus de détails.";

// "Taille des segments restants : %s octets (%s mégaoctets)" avec les textes de
// FormaterTaille ; au-delà de 2 Gio le nombre d'octets reste positif.
std::string TexteTailleRestante(std::uint64_t octets);

// "Temps approximatif restant : %s" avec le texte du relevé.
std::string TexteTempsApproximatif(const std::string& temps);

// Code de sortie du fil, à prendre après Annuler. `fini` : le drapeau de fin de la
// tâche, lu à ce moment. Posé, le fil ne fait plus que rendre son code : on l'attend,
// pour ne pas prendre un échec pour un succès. Sinon seul un code déjà rendu compte.
// Rien si le fil tourne encore, si le code a déjà été pris ou si le fil n'existe pas.
std::optional<int> CodeSortieFil(std::future<int>& fil, bool fini);

struct DecisionArret {
    bool Quitter = true;         // la page peut être quittée
    bool AnnoncerEchec = false;  // montrer kMessageEchecTelechargement
    bool ActiverSuivant = false; // Suivant devient disponible
};

// L'arrêt de la page : au départ de la page, ou à l'annulation du livret (qui se
// ferme quelle que soit la décision). Un échec déjà signalé laisse partir sans rien
// arrêter. Sinon `arreter` est appelé : il coupe le relevé, annule la tâche et rend
// le code du fil (CodeSortieFil). Le code 1 retient la page, rend Suivant disponible
// et lève `echecSignale`, drapeau du processus jamais baissé ; l'échec n'est annoncé
// qu'au départ de la page. Tout autre code, ou aucun, laisse partir.
DecisionArret ArreterTelechargement(bool& echecSignale, bool annulation,
                                    const std::function<std::optional<int>()>& arreter);

} // namespace emporteur
