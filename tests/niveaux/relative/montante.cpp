// Le téléchargement atteindrait la logique de l'assistant par un chemin relatif : le
// compilateur le trouverait à côté du fichier, les racines des niveaux n'y peuvent rien.
#include "../../../src/assistant/DefilementListe.h"
