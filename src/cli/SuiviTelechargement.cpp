#include "cli/SuiviTelechargement.h"

#include "download/FormaterTaille.h"
#include "download/TacheTelechargement.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <future>
#include <limits>
#include <unistd.h>

namespace emporteur::cli {

namespace {
std::atomic<bool> interruption{false};

extern "C" void SurInterruption(int) {
    interruption.store(true);
}

// Écrit les lignes complètes du journal apparues depuis la dernière fois (CR LF → LF).
// Sur un terminal, la ligne de progression est d'abord effacée : sinon le journal
// s'écrirait à sa suite.
void EcrireNouvellesLignes(const std::string& journal, std::size_t& deja, bool terminal) {
    const auto fin = journal.rfind("\r\n");
    if (fin == std::string::npos || fin + 2 <= deja) return;
    if (terminal) {
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
    }
    for (std::size_t i = deja; i < fin + 2; ++i)
        if (journal[i] != '\r') std::fputc(journal[i], stdout);
    std::fflush(stdout);
    deja = fin + 2;
}

void AfficherProgression(const Progression::Releve& r) {
    std::string octets, mega;
    const auto restant =
        std::min<std::uint64_t>(r.OctetsRestants, std::numeric_limits<std::uint32_t>::max());
    FormaterTaille(static_cast<std::uint32_t>(restant), octets, mega);
    std::fprintf(stderr, "\r\033[KTotal : %3d %%  Segment : %3d %%  %s  Reste : %s octets (%s Mo)",
                 r.PourcentageTotal, r.PourcentageSegment, r.TempsRestant.c_str(), octets.c_str(),
                 mega.c_str());
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
} // namespace

int SuivreTelechargement(EnsembleFichiers& ensemble, InterfaceUtilisateur& interface,
                         int connexions) {
    TacheTelechargement tache(&ensemble, &interface, connexions);
    interruption.store(false);
    auto ancien = std::signal(SIGINT, SurInterruption);
    auto fil = std::async(std::launch::async, TacheTelechargement::ProcedureFil, &tache);
    const bool terminal = ::isatty(STDERR_FILENO);
    std::size_t deja = 0;
    Lecteur lecteur{tache.Etat(), 0, {}};
    while (fil.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
        // Annuler peut rendre la main avant la fin du fil : fil.get() l'attend plus bas.
        if (interruption.load() && !tache.EstAnnulee()) tache.Annuler();
        const auto releve = lecteur.Lire();
        EcrireNouvellesLignes(lecteur.journal, deja, terminal);
        if (terminal) AfficherProgression(releve);
    }
    const int code = fil.get();
    std::signal(SIGINT, ancien);
    if (terminal) std::fputs("\r\033[K", stderr);
    lecteur.Lire();
    std::string journal = lecteur.journal;
    if (journal.size() > deja && !journal.ends_with("\r\n"))
        journal += "\r\n"; // la dernière ligne, même inachevée
    EcrireNouvellesLignes(journal, deja, false);
    if (tache.EstAnnulee()) {
        std::puts("Téléchargement annulé.");
        return 130;
    }
    for (const auto& f : ensemble.Fichiers)
        std::printf("%s : %s\n", f->NomLocal.c_str(), f->EstReussi ? "Réussi" : "Échec");
    return code;
}

} // namespace emporteur::cli
