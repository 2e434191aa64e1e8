#pragma once
// Ce que l'assistant fait autour des verdicts du catalogue : le mandataire mémorisé
// avant chaque récupération (oublié si rien n'est arrivé par lui), puis, selon le
// verdict, le repli sur le navigateur, l'offre d'un Emporteur plus récent ou le
// message de la mise à niveau. Tout ce qui se montre passe par ctx.Interface.

#include "catalogue/RecuperationCatalogue.h"
#include "commun/ContexteTelechargement.h"

#include <string>

namespace emporteur {

inline constexpr const char* kQuestionNouvelEmporteur =
    "Cet Emporteur est trop ancien. Souhaitez-vous télécharger le plus récent?";

// Mémorise le mandataire du contexte, récupère, et l'oublie (serveur vide, port 0)
// si un texte n'est pas arrivé. Ne montre rien.
VerdictCatalogue RecupererCatalogue(ContexteTelechargement& ctx);
// Mémorise le mandataire du contexte, puis la liste de mise à niveau. Ne montre rien.
VerdictCatalogue RecupererCatalogueMiseANiveau(ContexteTelechargement& ctx);

// Chemin de la mise à jour : vrai si lu. Sinon, hors mode discret, le repli sur le
// navigateur (qui finit le processus) ; TropAncien : l'offre d'un Emporteur récent.
bool RepondreCatalogue(ContexteTelechargement& ctx, const VerdictCatalogue& verdict);
// Chemin de la mise à niveau : vrai si lu. Sinon l'offre (505 ou format récent),
// puis le message du verdict s'il en porte un.
bool RepondreCatalogueMiseANiveau(ContexteTelechargement& ctx, const VerdictCatalogue& verdict);

// Adresses du site Web : la page du repli (version installée, "0.0.0.0" sans
// produit), la dernière copie du programme, la boutique.
std::string AdresseRepli(const ContexteTelechargement& ctx);
std::string AdresseNouvelEmporteur();
std::string AdresseBoutique();

// Le texte de la question du repli, avec la version affichée et les détails.
std::string TexteRepli(const ContexteTelechargement& ctx, const std::string& details);

// Repli sur le navigateur : question, ouverture sur Oui, puis fin du processus
// (code 0) quelle que soit la réponse.
void ProposerFureteur(ContexteTelechargement& ctx, const std::string& details);
// TropAncien, question, et sur Oui ouverture de la dernière copie. Ne termine rien.
void ProposerNouvelEmporteur(ContexteTelechargement& ctx);
// Ouvre la page de la boutique.
void OuvrirBoutique(ContexteTelechargement& ctx);

} // namespace emporteur
