#pragma once
// Ce que le système de fichiers accepte comme nom d'un seul fichier, posé tel quel
// dans le dossier de destination. Linux : tout nom sans "/" ni NUL (vérifiés à part).
// Windows : ni séparateur "\" ou "/", ni ":" (lecteur, flux de données), ni
// * ? " < > | ni caractère de contrôle, ni point ou espace final (que Windows retire),
// ni nom de périphérique (CON, NUL, COM1…) : ces noms écriraient hors du dossier ou
// ailleurs que dans un fichier.

#include <string>

namespace emporteur {

bool NomAccepteParLeSysteme(const std::string& nom);

} // namespace emporteur
