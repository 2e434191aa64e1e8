// Les demandes d'arrêt sous Windows : les événements de la console, avec les codes de
// sortie de leurs équivalents Linux.
#include "cli/DemandeArret.h"

#include "foundation/ConstantesWin32.h"

#include <atomic>

namespace emporteur::cli {

namespace {
std::atomic<int> codeRecu{0};

// Fermeture de la console, fin de session, arrêt : Windows termine le processus dès
// que ce gestionnaire revient (5 s au plus) ; on lui laisse donc le temps de l'arrêt
// propre, que la fin du programme interrompt.
constexpr DWORD kDelaiFermeture = 4500; // ms

BOOL WINAPI SurEvenement(DWORD evenement) {
    switch (evenement) {
    case CTRL_C_EVENT:
        codeRecu.store(130);
        return TRUE;
    case CTRL_BREAK_EVENT:
        codeRecu.store(143);
        return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        codeRecu.store(129);
        Sleep(kDelaiFermeture);
        return TRUE;
    default:
        return FALSE;
    }
}
} // namespace

void EcouterDemandesArret() {
    codeRecu.store(0);
    SetConsoleCtrlHandler(nullptr, FALSE); // Ctrl+C rendu à un processus lancé sans lui
    SetConsoleCtrlHandler(SurEvenement, TRUE);
}

int CodeDemandeArret() {
    return codeRecu.load();
}

} // namespace emporteur::cli
