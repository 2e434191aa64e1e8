#pragma once
// Le démarrage du programme à fenêtres : « /a » (en toute casse) ouvre l'outil CRC,
// toute autre ligne l'assistant dans le mode qu'elle désigne. Une seule fenêtre
// modale ; le processus se termine quand elle se ferme.

#include <functional>
#include <string>

namespace emporteur::fenetres {

struct OptionsDemarrage {
    // Le test de connexion du mode discret ; remplaçable en test.
    std::function<bool()> connexion;
};

// Rend le code de sortie du processus. L'application Qt doit exister.
int Demarrer(const std::string& ligne, const OptionsDemarrage& options = {});

// « /a » sans égard à la casse.
bool EstOutilCrc(const std::string& ligne);

} // namespace emporteur::fenetres
