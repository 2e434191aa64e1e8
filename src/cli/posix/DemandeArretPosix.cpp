// Les demandes d'arrêt sous Linux : SIGINT, SIGTERM et SIGHUP.
#include "cli/DemandeArret.h"

#include <atomic>
#include <csignal>

namespace emporteur::cli {

namespace {
// Le signal reçu, 0 sinon.
std::atomic<int> interruption{0};

extern "C" void SurInterruption(int signal) {
    interruption.store(signal);
}
} // namespace

// Les trois signaux reçoivent le même arrêt propre. Les anciens traitements ne sont pas
// rendus : le processus finit juste après, et un signal dans cet intervalle ne doit pas
// le tuer une fois le vrai résultat écrit.
void EcouterDemandesArret() {
    interruption.store(0);
    struct sigaction action {};
    action.sa_handler = SurInterruption;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

int CodeDemandeArret() {
    const int signal = interruption.load();
    return signal != 0 ? 128 + signal : 0;
}

} // namespace emporteur::cli
