// Le téléchargement voit les niveaux qu'il lie.
#include "commun/ContexteTelechargement.h"
#include "download/TacheTelechargement.h"
#include "foundation/Texte.h"
#include "http/TransfertHttp.h"
