#pragma once
// Service de messages : avertissements et questions avec les vocabulaires du
// programme ; en installation silencieuse, réponse par défaut et ligne au journal.

#include "foundation/InterfaceUtilisateur.h"
#include "foundation/Texte.h"

namespace emporteur {

// Codes de réponse rendus par AfficherMessage ; SansIdentifiant n'a pas d'équivalent
// Windows (défaut du jeu 0).
enum class CodeReponse : int {
    Abandonner = 0,
    Annuler = 1,
    Continuer = 2,
    SansIdentifiant = 3,
    Ignorer = 4,
    Non = 5,
    Ok = 7,
    Oui = 8,
    Fermer = 10,
    Reessayer = 11,
};

// Genre (icône) 0 à 4, jeu de boutons 0 à 9 et plus ; rend un code de réponse.
// Le texte et le détail sont joints par deux retours chariot quand le détail n'est pas vide.
CodeReponse AfficherMessage(InterfaceUtilisateur& ui, int genre, const Texte& texte,
                            const Texte& detail, int jeu);

// Réévalué à chaque appel : SilForcay (DWORD) décide seul, sinon les marques R et D.
bool InstallationSilencieuseActive();

// Correspondances entre codes de réponse et identifiants Windows, d'une seule table :
// un code sans identifiant donne Reponse{0} ; un identifiant sans code (IDHELP,
// IDTRYAGAIN, 0…) donne Oui.
Reponse IdentifiantDeCode(CodeReponse code);
CodeReponse CodeDIdentifiant(Reponse identifiant);

} // namespace emporteur
