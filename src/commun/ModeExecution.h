#pragma once
// Mode d'exécution choisi par la ligne de commande.

#include <string>
#include <string_view>

namespace emporteur {

enum class ModeExecution : int {
    OutilCrc = 0,    // "/a"
    MajDiscrete = 1, // vérification automatique silencieuse
    MajPlusMan = 2,  // vérification automatique avec invite
    Ordinaire = 3,   // tout le reste
};

// Comparaison exacte, octet par octet, de toute la ligne avec "/a",
// "MajDiscrete" et "MajPlusMan", dans cet ordre ; sinon Ordinaire.
ModeExecution ClasserLigneCommande(std::string_view ligne);

// L'outil CRC s'ouvre sur « /a » sans égard à la casse (« /A » compte), seul sur la ligne.
bool EstOutilCrc(std::string_view ligne);

// La ligne de commande d'un seul tenant : les arguments après le nom de
// l'exécutable, joints par un blanc, comme Windows les donne.
std::string LigneCommande(int argc, const char* const* argv);

} // namespace emporteur
