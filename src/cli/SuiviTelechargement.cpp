#include "cli/SuiviTelechargement.h"

#include "assistant/ExecuteurTache.h"
#include "cli/AffichageProgression.h"
#include "cli/Console.h"
#include "cli/DemandeArret.h"
#include "download/TacheTelechargement.h"

#include <chrono>
#include <cstdio>

namespace emporteur::cli {

namespace {
// Code d'un arrêt demandé sans demande extérieure connue : celui de Ctrl-C.
constexpr int kCodeInterruption = 130;

// Le bilan sur stdout ; en mode discret, rien qu'après un échec, et alors le journal
// entier sur stderr : c'est là que se lit la cause.
void Conclure(const EnsembleFichiers& ensemble, const Progression& etat, int code,
              const OptionsSuivi& options) {
    const auto bilans = etat.Bilans();
    if (options.json) {
        std::printf("%s\n", JsonBilan(ensemble, bilans, code).c_str());
    } else if (EstCodeArret(code)) {
        // « Téléchargement annulé. » est déjà sur stderr ; aucun fichier n'est un résultat.
    } else if (!options.discret) {
        std::fputs(TexteBilan(ensemble, bilans).c_str(), stdout);
    } else if (code != 0) {
        AffichageProgression(stderr, false, false, 0).Finir(etat.Journal());
        std::fputs(TexteBilan(ensemble, bilans).c_str(), stderr);
    }
    std::fflush(stdout);
}

std::uint64_t TailleTotale(const EnsembleFichiers& ensemble) {
    std::uint64_t total = 0;
    for (const auto& f : ensemble.Fichiers)
        total += static_cast<std::uint32_t>(f->Taille);
    return total;
}
} // namespace

int SuivreTelechargement(EnsembleFichiers& ensemble, InterfaceUtilisateur& ui,
                         const OptionsSuivi& options) {
    ExecuteurTache execution(&ensemble, &ui, options.connexions);
    // Toute demande d'arrêt (Ctrl-C, fin de session…) devient un arrêt propre :
    // segments gardés, assemblage retiré.
    EcouterDemandesArret();
    execution.Demarrer();
    AffichageProgression affichage(stderr, EstTerminal(stderr), options.discret,
                                   TailleTotale(ensemble));
    while (!execution.AttendreFin(ExecuteurTache::kPeriodeReleve)) {
        if (CodeDemandeArret() != 0 && !execution.ArretDemande()) execution.DemanderArret();
        const auto releve = execution.Relever();
        affichage.Relever(releve, execution.Journal());
    }
    int code = execution.Code().value_or(2);
    execution.Relever();
    affichage.Finir(execution.Journal());
    // Un arrêt arrivé après la publication du dernier fichier laisse le vrai résultat.
    if (execution.ArretDemande() && execution.Tache().EstInterrompue()) {
        std::fputs("Téléchargement annulé.\n", stderr);
        const int demande = CodeDemandeArret();
        code = demande != 0 ? demande : kCodeInterruption;
    }
    Conclure(ensemble, execution.Tache().Etat(), code, options);
    return code;
}

} // namespace emporteur::cli
