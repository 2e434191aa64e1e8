#pragma once
// La page de destination sans fenêtre : le dossier montré, le choix par
// « Parcourir... », et Suivant qui crée au besoin le dossier puis le range,
// toujours avec un "/" final, dans l'élément choisi.

#include "commun/ContexteTelechargement.h"
#include "foundation/InterfaceUtilisateur.h"

#include <optional>
#include <string>

namespace emporteur {

inline constexpr const char* kNomDossierTelechargement = "Mervane_Téléchargement";

// Texte de la zone à l'activation : le Dossier de l'élément choisi, ou
// `texteActuel` inchangé sans élément choisi.
std::string TexteDestination(const ContexteTelechargement& ctx, const std::string& texteActuel);

// Un dossier choisi devient le sous-dossier "Mervane_Téléchargement", sauf si
// le chemin contient déjà ce nom (recherche exacte) : il est alors gardé tel quel.
std::string CompleterDossierChoisi(const std::string& chemin);

// Le dossier existant le plus proche de `texte` : lui-même ou son plus proche parent ;
// vide si aucun (texte vide ou relatif sans parent existant).
std::string ParentExistant(const std::string& texte);

// Demande un dossier à l'utilisateur, le sélecteur ouvert sur le plus proche dossier
// existant de `texteActuel` ; le nouveau texte de la zone, rien s'il renonce.
std::optional<std::string> ParcourirDestination(InterfaceUtilisateur& ui,
                                                const std::string& texteActuel = {});

// Suivant. Vrai : passer au téléchargement, le dossier existe et il est rangé
// avec un "/" final dans l'élément choisi (la zone garde le texte tapé). Faux :
// la page reste (refus de créer, ou création impossible, après le message).
// Sans élément choisi : rien à ranger ni à créer, vrai sans question.
bool SuivantDestination(ContexteTelechargement& ctx, const std::string& texte);

} // namespace emporteur
