#pragma once
// Service de messages : avertissements et questions avec les vocabulaires du
// programme ; en installation silencieuse, réponse par défaut et ligne au journal.

#include "foundation/InterfaceUtilisateur.h"
#include "foundation/Texte.h"

namespace emporteur {

// Codes de réponse rendus par AfficherMessage.
namespace code {
inline constexpr int Abandonner = 0;
inline constexpr int Annuler = 1;
inline constexpr int Continuer = 2;
inline constexpr int Ignorer = 4;
inline constexpr int Non = 5;
inline constexpr int Ok = 7;
inline constexpr int Oui = 8;
inline constexpr int Fermer = 10;
inline constexpr int Reessayer = 11;
} // namespace code

// Genre (icône) 0 à 4, jeu de boutons 0 à 9 et plus ; rend un code de réponse.
// Le texte et le détail sont joints par deux retours chariot quand le détail n'est pas vide.
int AfficherMessage(InterfaceUtilisateur& interface, int genre, const Texte& texte,
                    const Texte& detail, int jeu);

// Réévalué à chaque appel : SilForcay (DWORD) décide seul, sinon les marques R et D.
bool InstallationSilencieuseActive();

// Correspondances entre codes de réponse et identifiants Windows.
int IdentifiantDeCode(int code);
int CodeDIdentifiant(int identifiant);

} // namespace emporteur
