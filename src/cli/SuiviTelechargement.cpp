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
// Le signal d'arrêt reçu (SIGINT, SIGTERM, SIGHUP), 0 sinon.
std::atomic<int> interruption{0};

extern "C" void SurInterruption(int signal) {
    interruption.store(signal);
}

constexpr int kSignauxArret[] = {SIGINT, SIGTERM, SIGHUP};

// Les trois signaux reçoivent le même arrêt propre : segments gardés, assemblage retiré.
// Les anciens ne sont pas rendus : le processus finit juste après, et un signal dans
// cet intervalle ne doit pas le tuer une fois le vrai résultat écrit.
void PoserSignauxArret() {
    struct sigaction action {};
    action.sa_handler = SurInterruption;
    sigemptyset(&action.sa_mask);
    for (const int signal : kSignauxArret)
        ::sigaction(signal, &action, nullptr);
}

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
    interruption.store(0);
    PoserSignauxArret();
    execution.Demarrer();
    AffichageProgression affichage(stderr, ::isatty(STDERR_FILENO), options.discret,
                                   TailleTotale(ensemble));
    while (!execution.AttendreFin(ExecuteurTache::kPeriodeReleve)) {
        if (interruption.load() != 0 && !execution.ArretDemande()) execution.DemanderArret();
        const auto releve = execution.Relever();
        affichage.Relever(releve, execution.Journal());
    }
    int code = execution.Code().value_or(2);
    execution.Relever();
    affichage.Finir(execution.Journal());
    // Un arrêt arrivé après la publication du dernier fichier laisse le vrai résultat.
    if (execution.ArretDemande() && execution.Tache().EstInterrompue()) {
        std::fputs("Téléchargement annulé.\n", stderr);
        const int signal = interruption.load();
        code = 128 + (signal != 0 ? signal : SIGINT);
    }
    Conclure(ensemble, execution.Tache().Etat(), code, options);
    return code;
}

} // namespace emporteur::cli
