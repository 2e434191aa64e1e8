#include "foundation/InfoVersion.h"

#include "foundation/DossiersUtilisateur.h"
#include "foundation/LectureVersion.h"
#include "foundation/Texte.h"

#include <cstdio>
#include <mutex>

namespace emporteur {

namespace {
std::string FormaterVersion(std::uint32_t fort, std::uint32_t faible) {
    char tampon[kTailleTexteVersion];
    std::snprintf(tampon, sizeof tampon, "%u,%u,%u,%u", fort >> 16, fort & 0xFFFF, faible >> 16,
                  faible & 0xFFFF);
    return tampon;
}

// Ce que tient un tampon de `taille` octets terminateur compris.
std::string Tronquer(const std::string& texte, std::size_t taille) {
    return taille == 0 ? std::string() : CouperUtf8(texte, taille - 1);
}

// Valeur `nom` sous la première traduction seulement, comme le fait le programme d'origine.
bool ValeurPremiereTraduction(const DonneesVersion& donnees, const std::string& nom,
                              std::string& valeur) {
    std::uint32_t traduction = 0;
    if (!donnees.PremiereTraduction(traduction)) return false;
    const std::string* trouvee = donnees.Texte(PrefixeTraduction(traduction) + nom);
    if (!trouvee) return false;
    valeur = *trouvee;
    return true;
}

// Le cache du nom de produit, partagé par tout le processus.
struct CacheNomProduit {
    std::mutex verrou;
    std::string chemin, nom;
};
CacheNomProduit& Cache() {
    static CacheNomProduit cache;
    return cache;
}
} // namespace

InfoVersion::InfoVersion(const std::string& chemin, const std::string& cle,
                         const std::string& nomValeur) {
    DonneesVersion donnees;
    if (LireDonneesVersion(chemin, donnees) != LectureVersion::Trouvee) return;
    const InfoFixeVersion& f = donnees.Fixe;
    VersionFichier = FormaterVersion(f.FichierFort, f.FichierFaible);
    VersionProduit = FormaterVersion(f.ProduitFort, f.ProduitFaible);
    MajeurProduit = f.ProduitFort >> 16;
    MineurProduit = f.ProduitFort & 0xFFFF;
    if (cle.empty() && nomValeur.empty()) return;
    if (const std::string* v = donnees.Texte("\\StringFileInfo\\" + cle + "\\" + nomValeur))
        Valeur = Tronquer(*v, kTailleTexteVersion);
}

bool LireValeurVersion(const std::string* chemin, const std::string& nom, std::string& valeur,
                       std::size_t tailleTampon) {
    valeur.clear();
    const std::string cible = chemin ? *chemin : CheminProgramme();
    if (cible.empty()) return false;
    DonneesVersion donnees;
    std::string trouvee;
    if (LireDonneesVersion(cible, donnees) != LectureVersion::Trouvee ||
        !ValeurPremiereTraduction(donnees, nom, trouvee))
        return false;
    valeur = Tronquer(trouvee, tailleTampon);
    return true;
}

bool NomProduitProgramme(std::string& nom, std::size_t tailleTampon) {
    nom.clear();
    const std::string programme = CheminProgramme();
    if (programme.empty()) return false;
    CacheNomProduit& cache = Cache();
    std::lock_guard verrou(cache.verrou);
    if (programme == cache.chemin) {
        nom = Tronquer(cache.nom, tailleTampon);
        return true;
    }
    // Le chemin n'entre au cache qu'avec un nom lu : sinon un premier échec ferait
    // passer les appels suivants pour des réussites avec un nom vide.
    std::string lu;
    if (!LireValeurVersion(&programme, "ProductName", lu, std::string::npos)) return false;
    cache.chemin = programme;
    cache.nom = lu;
    nom = Tronquer(lu, tailleTampon);
    return true;
}

} // namespace emporteur
