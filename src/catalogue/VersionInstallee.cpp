#include "catalogue/VersionInstallee.h"

#include "foundation/Fichiers.h"
#include "foundation/InfoVersion.h"
#include "messages/DossierProduit.h"

#include <algorithm>

namespace emporteur {

namespace {
const char* const kAucune = "aucune détectée";
}

void DetecterVersionInstallee(ContexteTelechargement& ctx) {
    std::string executable;
    if (!CheminExecutableProduit(executable) || !FichierExiste(executable)) {
        ctx.VersionInstallee.clear();
        ctx.VersionAffichee = kAucune;
        return;
    }
    // La version de fichier, pas celle du produit : c'est elle que le catalogue compare.
    std::string version = InfoVersion(executable).VersionFichier;
    std::replace(version.begin(), version.end(), ',', '.');
    ctx.VersionInstallee = version;
    std::string affichee;
    ctx.VersionAffichee = LireValeurVersion(&executable, "ProductVersion", affichee, 1024)
                              ? affichee
                              : std::string(kAucune);
}

void VersionsInstallees(const ContexteTelechargement& ctx, std::string& version,
                        std::string& affichee) {
    affichee = ctx.VersionAffichee;
    version = ctx.VersionInstallee.empty() ? std::string("0.0.0.0") : ctx.VersionInstallee;
}

} // namespace emporteur
