#pragma once
// Les demandes d'arrêt venues de l'extérieur pendant un téléchargement : notées, pour un
// arrêt propre (segments gardés), et rendues en code de sortie à la manière d'un shell.
// Linux : SIGINT 130, SIGTERM 143, SIGHUP 129. Windows : Ctrl+C 130, Ctrl+Attn 143,
// fermeture de la console ou de la session 129.

namespace emporteur::cli {

// Pose la réception des demandes ; toute demande antérieure est oubliée.
void EcouterDemandesArret();
// Le code de sortie de la dernière demande reçue, 0 sans demande.
int CodeDemandeArret();

} // namespace emporteur::cli
