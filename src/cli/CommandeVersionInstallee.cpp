// emporteur-cli version-installee : la version du produit installé, telle que détectée.
#include "commun/ContexteTelechargement.h"
#include "cli/InterfaceConsole.h"
#include "catalogue/VersionInstallee.h"
#include "cli/Commandes.h"

#include <cstdio>

namespace emporteur::cli {

int CommandeVersionInstallee(const Arguments& args) {
    if (!args.empty()) {
        std::fputs(Usage(), stderr);
        return 2;
    }
    InterfaceConsole console;
    ContexteTelechargement ctx(ModeExecution::Ordinaire, console);
    DetecterVersionInstallee(ctx);
    std::printf("%s\n%s\n", ctx.VersionInstallee.c_str(), ctx.VersionAffichee.c_str());
    return 0;
}

} // namespace emporteur::cli
