#include "cli/SuiviTelechargement.h"

#include "assistant/ExecuteurTache.h"
#include "cli/AffichageProgression.h"
#include "download/TacheTelechargement.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace emporteur::cli {

namespace {
std::atomic<bool> interruption{false};

extern "C" void SurInterruption(int) {
    interruption.store(true);
}

// Le bilan sur stdout ; en mode discret, rien qu'après un échec, et alors le journal
// entier sur stderr : c'est là que se lit la cause.
void Conclure(const EnsembleFichiers& ensemble, const Progression& etat, int code,
              const OptionsSuivi& options) {
    const auto bilans = etat.Bilans();
    if (options.json) {
        std::printf("%s\n", JsonBilan(ensemble, bilans, code).c_str());
    } else if (code == kCodeAnnule) {
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

int SuivreTelechargement(EnsembleFichiers& ensemble, InterfaceUtilisateur& interface,
                         const OptionsSuivi& options) {
    ExecuteurTache execution(&ensemble, &interface, options.connexions);
    interruption.store(false);
    auto ancien = std::signal(SIGINT, SurInterruption);
    execution.Demarrer();
    AffichageProgression affichage(stderr, ::isatty(STDERR_FILENO), options.discret,
                                   TailleTotale(ensemble));
    while (!execution.AttendreFin(ExecuteurTache::kPeriodeReleve)) {
        if (interruption.load() && !execution.ArretDemande()) execution.DemanderArret();
        const auto releve = execution.Relever();
        affichage.Relever(releve, execution.Journal());
    }
    int code = execution.Code().value_or(2);
    std::signal(SIGINT, ancien);
    execution.Relever();
    affichage.Finir(execution.Journal());
    if (execution.ArretDemande()) {
        std::fputs("Téléchargement annulé.\n", stderr);
        code = kCodeAnnule;
    }
    Conclure(ensemble, execution.Tache().Etat(), code, options);
    return code;
}

} // namespace emporteur::cli
