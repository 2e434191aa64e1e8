// Le téléchargement ne doit pas voir la logique de l'assistant, plus haut.
#include "assistant/LogiqueBienvenue.h"
