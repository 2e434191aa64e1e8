#include "autocheck/DernierAvis.h"

#include "foundation/CleRegistre.h"
#include "foundation/Texte.h"

namespace emporteur {

namespace {
constexpr std::uint32_t kTailleChamp = 20;

void Ecrire(const char* nom, const std::string& texte) {
    CleOuverte cle;
    if (OuvrirCle(HKEY_CURRENT_USER, kCleTelechargement, KEY_READ | KEY_WRITE, cle) ==
            ERROR_SUCCESS &&
        cle.EcrireTexte(nom, texte) == ERROR_SUCCESS)
        return;
    CleOuverte creee;
    if (CreerCle(HKEY_CURRENT_USER, kCleTelechargement, KEY_READ | KEY_WRITE, creee) ==
        ERROR_SUCCESS)
        creee.EcrireTexte(nom, texte);
}

std::string Lire(const char* nom) {
    CleRegistre cle;
    std::string valeur;
    if (cle.OuvrirCle(HKEY_CURRENT_USER, kCleTelechargement, KEY_READ) == ERROR_SUCCESS &&
        cle.LireTexte(nom, valeur, kTailleChamp) == ERROR_SUCCESS)
        return valeur;
    CleOuverte creee;
    if (CreerCle(HKEY_CURRENT_USER, kCleTelechargement, KEY_READ | KEY_WRITE, creee) ==
        ERROR_SUCCESS)
        creee.EcrireTexte(nom, "");
    return {};
}
} // namespace

DernierAvis::DernierAvis()
    : DerniereVerification(Lire("DerniereVerification")), MAJ(Lire("MAJ")), MAN(Lire("MAN")) {}

OffreNotee OffreANoter(const ContexteTelechargement& ctx) {
    const Recette* choisie = ctx.IndiceChoisi == -1 ? nullptr : ctx.RecetteChoisie();
    return {CouperUtf8(choisie ? choisie->VersionMaj : ctx.VersionInstallee, kTailleChamp - 1),
            std::to_string(ctx.MajeurBoutique)};
}

void NoterAvis(const ContexteTelechargement& ctx, DernierAvis& avis) {
    OffreNotee offre = OffreANoter(ctx);
    avis.MAJ = std::move(offre.MAJ);
    avis.MAN = std::move(offre.MAN);
    Ecrire("DerniereVerification", avis.DerniereVerification);
    Ecrire("MAJ", avis.MAJ);
    Ecrire("MAN", avis.MAN);
}

} // namespace emporteur
