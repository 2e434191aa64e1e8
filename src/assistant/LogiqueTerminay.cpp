#include "assistant/LogiqueTerminay.h"

#include "download/EmpreinteFichier.h"
#include "foundation/Chemins.h"
#include "messages/ServiceMessages.h"

#include <filesystem>
#include <thread>

namespace emporteur {

namespace {
constexpr int kEssaisFenetre = 5;
constexpr std::chrono::milliseconds kIntervalleEssais{1000};

// Le nom vient du serveur : il est pris à la lettre, jamais comme un motif.
bool FichierPresent(const std::string& chemin) {
    std::error_code erreur;
    return std::filesystem::is_regular_file(chemin, erreur);
}

// Avec des clés, seul un fichier dont l'empreinte signée a été vérifiée dans cette
// exécution se lance ; une empreinte vérifiée est relue juste avant le lancement.
bool EmpreinteAdmise(const ContexteTelechargement& ctx, const Ingredient& f,
                     const std::string* chemin) {
    if (!f.EmpreinteVerifiee) return ctx.ClesPubliques.empty();
    return !chemin || EmpreinteFichierConforme(*chemin, f.Empreinte);
}

void MettreFenetreAuPremierPlan(InterfaceUtilisateur& ui, const Attente& attendre) {
    for (int essai = 0; essai < kEssaisFenetre; ++essai) {
        if (ui.MettreAuPremierPlan(kTitreFenetreMiseAJour)) return;
        if (attendre)
            attendre(kIntervalleEssais);
        else
            std::this_thread::sleep_for(kIntervalleEssais);
    }
}
// Boîte d'erreur (genre 2, bouton OK) ; en installation silencieuse, une ligne au journal.
void SignalerEchecOuverture(const ContexteTelechargement& ctx, const std::string& cible) {
    AfficherMessage(ctx.Interface, 2,
                    Texte("Impossible d’ouvrir « " + cible +
                          " ».\nAucun programme de ce système ne sait l’ouvrir."),
                    Texte(), 2);
}

std::string CheminFichier(const Recette& recette, const Ingredient& fichier) {
    std::string chemin = recette.Dossier;
    AjouterBarre(chemin);
    return chemin + fichier.NomLocal;
}
} // namespace

CompteRendu PreparerCompteRendu(const ContexteTelechargement& ctx) {
    CompteRendu compte;
    const Recette* choisie = ctx.RecetteChoisie();
    bool tousReussis = true;
    int aLancer = 0;
    bool verifie = true;
    std::string lance;
    if (choisie)
        for (const auto& f : choisie->Fichiers) {
            compte.Lignes.insert(compte.Lignes.begin(),
                                 {f->NomLocal, f->EstReussi ? "Réussi" : "Échec"});
            tousReussis = tousReussis && f->EstReussi;
            aLancer += f->EstReussi && f->ALancer;
            verifie = verifie && (!f->ALancer || EmpreinteAdmise(ctx, *f, nullptr));
            if (f->EstReussi && f->ALancer) lance = CheminFichier(*choisie, *f);
        }
    compte.Lancement =
        tousReussis && aLancer == 1 && verifie && ctx.Interface.SaitOuvrir(lance);
    compte.TexteDossier = "Les fichiers sont sauvegardés dans le dossier :\n" +
                          (choisie ? choisie->Dossier : std::string());
    return compte;
}

void ExplorerDossierTelechargement(const ContexteTelechargement& ctx) {
    const Recette* choisie = ctx.RecetteChoisie();
    if (choisie && !ctx.Interface.Explorer(choisie->Dossier))
        SignalerEchecOuverture(ctx, choisie->Dossier);
}

void TerminerAssistant(const ContexteTelechargement& ctx, bool lancer, const Attente& attendre) {
    const Recette* choisie = ctx.RecetteChoisie();
    // Sans dossier, le nom seul désignerait un fichier du dossier courant.
    if (!lancer || !choisie || choisie->Dossier.empty()) return;
    for (const auto& f : choisie->Fichiers) {
        if (!f->ALancer || !f->EstReussi) continue;
        const std::string chemin = CheminFichier(*choisie, *f);
        if (!FichierPresent(chemin) || !EmpreinteAdmise(ctx, *f, &chemin)) continue;
        if (!ctx.Interface.Ouvrir(chemin)) {
            SignalerEchecOuverture(ctx, chemin);
            continue;
        }
        if (!ctx.ModeMiseANiveau) MettreFenetreAuPremierPlan(ctx.Interface, attendre);
    }
}

} // namespace emporteur
