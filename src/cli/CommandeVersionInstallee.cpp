// emporteur-cli version-installee : la version du produit installé, telle que détectée.
#include "catalogue/VersionInstallee.h"
#include "cli/Commandes.h"
#include "cli/InterfaceConsole.h"
#include "commun/ContexteTelechargement.h"

#include <cstdio>

namespace emporteur::cli {

int CommandeVersionInstallee(const Arguments& args) {
    if (!args.empty()) {
        return ErreurUsage("version-installee");
    }
    InterfaceConsole console;
    ContexteTelechargement ctx(ModeExecution::Ordinaire, console);
    DetecterVersionInstallee(ctx);
    std::printf("%s\n%s\n", ctx.VersionInstallee.c_str(), ctx.VersionAffichee.c_str());
    return 0;
}

} // namespace emporteur::cli
