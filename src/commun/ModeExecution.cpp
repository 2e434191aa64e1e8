#include "commun/ModeExecution.h"

namespace emporteur {

ModeExecution ClasserLigneCommande(std::string_view ligne) {
    if (ligne == "/a") return ModeExecution::OutilCrc;
    if (ligne == "MajDiscrete") return ModeExecution::MajDiscrete;
    if (ligne == "MajPlusMan") return ModeExecution::MajPlusMan;
    return ModeExecution::Ordinaire;
}

bool EstOutilCrc(std::string_view ligne) {
    // La même classification que le mode, sur la ligne en minuscules ASCII.
    std::string minuscules(ligne);
    for (char& c : minuscules)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return ClasserLigneCommande(minuscules) == ModeExecution::OutilCrc;
}

std::string LigneCommande(int argc, const char* const* argv) {
    std::string ligne;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) ligne += ' ';
        ligne += argv[i];
    }
    return ligne;
}

} // namespace emporteur
