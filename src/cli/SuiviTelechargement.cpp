#include "cli/SuiviTelechargement.h"

#include "cli/AffichageProgression.h"
#include "download/TacheTelechargement.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <future>
#include <unistd.h>

namespace emporteur::cli {

namespace {
std::atomic<bool> interruption{false};

extern "C" void SurInterruption(int) {
    interruption.store(true);
}

// Un relevé cohérent ; le journal gardé ici n'est recopié que s'il a changé.
struct Lecteur {
    const Progression& progression;
    std::uint64_t version = 0;
    std::string journal;
    Progression::Releve Lire() {
        auto releve = progression.Lire(version);
        if (releve.JournalChange) journal = std::move(releve.Journal);
        return releve;
    }
};

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
    TacheTelechargement tache(&ensemble, &interface, options.connexions);
    interruption.store(false);
    auto ancien = std::signal(SIGINT, SurInterruption);
    auto fil = std::async(std::launch::async, TacheTelechargement::ProcedureFil, &tache);
    AffichageProgression affichage(stderr, ::isatty(STDERR_FILENO), options.discret,
                                   TailleTotale(ensemble));
    Lecteur lecteur{tache.Etat(), 0, {}};
    while (fil.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
        // Annuler peut rendre la main avant la fin du fil : fil.get() l'attend plus bas.
        if (interruption.load() && !tache.EstAnnulee()) tache.Annuler();
        affichage.Relever(lecteur.Lire(), lecteur.journal);
    }
    int code = fil.get();
    std::signal(SIGINT, ancien);
    lecteur.Lire();
    affichage.Finir(lecteur.journal);
    if (tache.EstAnnulee()) {
        std::fputs("Téléchargement annulé.\n", stderr);
        code = kCodeAnnule;
    }
    Conclure(ensemble, tache.Etat(), code, options);
    return code;
}

} // namespace emporteur::cli
