#include "cli/SuiviTelechargement.h"

#include "assistant/ExecuteurTache.h"
#include "download/FormaterTaille.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
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

} // namespace

int SuivreTelechargement(EnsembleFichiers& ensemble, InterfaceUtilisateur& interface) {
    ExecuteurTache execution(&ensemble, &interface);
    interruption.store(false);
    auto ancien = std::signal(SIGINT, SurInterruption);
    execution.Demarrer();
    const bool terminal = ::isatty(STDERR_FILENO);
    std::size_t deja = 0;
    while (!execution.AttendreFin(ExecuteurTache::kPeriodeReleve)) {
        if (interruption.load() && !execution.ArretDemande()) execution.DemanderArret();
        const auto releve = execution.Relever();
        EcrireNouvellesLignes(execution.Journal(), deja, terminal);
        if (terminal) AfficherProgression(releve);
    }
    const int code = execution.Code().value_or(2);
    std::signal(SIGINT, ancien);
    if (terminal) std::fputs("\r\033[K", stderr);
    execution.Relever();
    std::string journal = execution.Journal();
    if (journal.size() > deja && !journal.ends_with("\r\n"))
        journal += "\r\n"; // la dernière ligne, même inachevée
    EcrireNouvellesLignes(journal, deja, false);
    if (execution.ArretDemande()) {
        std::puts("Téléchargement annulé.");
        return 130;
    }
    for (const auto& f : ensemble.Fichiers)
        std::printf("%s : %s\n", f->NomLocal.c_str(), f->EstReussi ? "Réussi" : "Échec");
    return code;
}

} // namespace emporteur::cli
