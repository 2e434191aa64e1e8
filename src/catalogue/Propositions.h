#pragma once
// Ce que le programme propose d'ouvrir dans le navigateur.

#include "commun/ContexteTelechargement.h"

namespace emporteur {

// Le serveur demande un Emporteur plus récent : TropAncien, question, et sur Oui
// ouverture de la dernière copie sur le site Web. Ne termine pas le processus.
void ProposerNouvelEmporteur(ContexteTelechargement& ctx);

} // namespace emporteur
