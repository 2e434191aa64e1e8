#include "download/CollisionNoms.h"

#include "download/DossierSegments.h"
#include "download/NomCache.h"
#include "download/PlanSegments.h"

#include <string_view>
#include <unordered_map>

namespace emporteur {

namespace {
// Noms cachés réservés à chaque fichier : son assemblage, son verrou de repli.
constexpr std::string_view kSuffixesCaches[] = {kSuffixeAssemblage, kSuffixeVerrou};

using Noms = std::unordered_map<std::string_view, const Ingredient*>;
using NomsCaches = std::unordered_map<std::string, const Ingredient*>;

// "N" décimal sans zéro de tête (la forme "%d" des noms de segments) ; -1 sinon.
long long IndexDecimal(std::string_view texte) {
    if (texte.empty() || texte.size() > 10 || (texte.size() > 1 && texte[0] == '0')) return -1;
    long long valeur = 0;
    for (const char c : texte) {
        if (c < '0' || c > '9') return -1;
        valeur = valeur * 10 + (c - '0');
    }
    return valeur;
}

// Un fichier refusé pour son nom ou son plan n'écrit rien : il ne dispute aucun nom.
bool SeraEcrit(const Ingredient& ing) {
    return NomLocalAdmis(ing.NomLocal) &&
           PlanSegments(ing).Defaut(ing.Crcs.size()) == DefautPlan::Aucun;
}

// Le fichier dont `nom` serait un nom réservé ; `nullptr` si aucun.
const Ingredient* Proprietaire(const std::string& nom, const Noms& noms, const NomsCaches& caches) {
    if (const auto point = nom.rfind('.'); point != std::string::npos) {
        const std::string_view vue = nom;
        const long long index = IndexDecimal(vue.substr(point + 1));
        const auto trouve = noms.find(vue.substr(0, point));
        if (index >= 0 && trouve != noms.end() &&
            index < static_cast<long long>(PlanSegments(*trouve->second).Nombre()))
            return trouve->second;
    }
    const auto cache = caches.find(nom);
    return cache == caches.end() ? nullptr : cache->second;
}
} // namespace

std::optional<std::pair<std::string, std::string>>
ChercherCollisionNoms(const EnsembleFichiers& ensemble) {
    Noms noms;
    NomsCaches caches;
    for (const auto& f : ensemble.Fichiers) {
        if (!SeraEcrit(*f)) continue;
        const auto [place, neuf] = noms.emplace(f->NomLocal, f.get());
        if (!neuf) return std::make_pair(place->second->NomLocal, f->NomLocal);
        for (const std::string_view suffixe : kSuffixesCaches)
            caches.emplace(NomCache(f->NomLocal, suffixe), f.get());
    }
    for (const auto& f : ensemble.Fichiers)
        if (const Ingredient* autre = Proprietaire(f->NomLocal, noms, caches);
            SeraEcrit(*f) && autre && autre != f.get())
            return std::make_pair(autre->NomLocal, f->NomLocal);
    return std::nullopt;
}

std::string MessageCollisionNoms(const std::string& premier, const std::string& second) {
    return "Échec de téléchargement : les fichiers « " + premier + " » et « " + second +
           " » se confondraient dans le dossier de destination ; rien n'a été téléchargé.";
}

} // namespace emporteur
