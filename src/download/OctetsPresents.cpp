#include "download/OctetsPresents.h"

#include "download/Crc32.h"
#include "download/DossierSegments.h"
#include "download/PlanSegments.h"

#include <vector>

namespace emporteur {

std::uint64_t OctetsPresents(const std::string& dossier, const Ingredient& ingredient) {
    const PlanSegments plan(ingredient);
    if (!plan.EstUtilisable(ingredient.Crcs.size()) || !NomLocalAdmis(ingredient.NomLocal))
        return 0;
    DossierSegments magasin(dossier, plan, ingredient.NomLocal);
    if (!magasin.LienSymbolique().empty()) return 0; // le fichier sera refusé
    const bool entier = magasin.OuvrirEntier() != DossierSegments::Entier::Absent;
    const std::uint64_t tailleEntier = entier ? magasin.TailleEntier() : 0;
    std::vector<char> tampon(plan.Longueur(0));
    std::uint64_t presents = 0;
    for (std::uint32_t i = 0; i < plan.Nombre(); ++i) {
        const std::uint32_t longueur = plan.Longueur(i);
        const bool dansEntier = plan.Debut(i) + longueur <= tailleEntier &&
                                magasin.LireDansEntier(i, tampon.data(), longueur) &&
                                Crc32(0, tampon.data(), longueur) == ingredient.Crcs[i];
        if (dansEntier || (magasin.LireSegment(i, tampon.data()) &&
                           Crc32(0, tampon.data(), longueur) == ingredient.Crcs[i]))
            presents += longueur;
    }
    return presents;
}

} // namespace emporteur
