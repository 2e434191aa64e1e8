// Le programme à fenêtres lancé par execve, à la place de ce processus.
#include "cli/LancementVoisin.h"

#include "foundation/CheminNatif.h"
#include "foundation/DossiersUtilisateur.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace emporteur::cli {

namespace {
// Notre environnement, EMPORTEUR_SERVEUR remplacé si `serveur` est donné.
std::vector<std::string> EnvironnementLance(const std::optional<std::string>& serveur) {
    std::vector<std::string> textes;
    for (char** v = environ; *v; ++v)
        if (!serveur || std::string_view(*v).rfind("EMPORTEUR_SERVEUR=", 0) != 0)
            textes.emplace_back(*v);
    if (serveur) textes.push_back("EMPORTEUR_SERVEUR=" + *serveur);
    return textes;
}
} // namespace

int LancerEmporteurVoisin(const std::string& mot, const std::optional<std::string>& serveur) {
    const std::string programme =
        CheminUtf8(CheminNatif(CheminProgramme()).parent_path() / "emporteur");
    const auto textes = EnvironnementLance(serveur);
    std::vector<const char*> environnement;
    for (const auto& t : textes)
        environnement.push_back(t.c_str());
    environnement.push_back(nullptr);
    char* const argv[] = {const_cast<char*>("emporteur"), const_cast<char*>(mot.c_str()),
                          nullptr};
    std::fflush(stdout);
    ::execve(programme.c_str(), argv, const_cast<char* const*>(environnement.data()));
    std::fprintf(stderr, "Impossible de lancer %s : %s\n", programme.c_str(), std::strerror(errno));
    return 127;
}

} // namespace emporteur::cli
