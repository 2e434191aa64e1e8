#include "fenetres-win32/Demarrage.h"

#include "autocheck/ConnexionInternet.h"
#include "autocheck/DernierAvis.h"
#include "commun/ContexteTelechargement.h"
#include "commun/ModeExecution.h"
#include "fenetres-win32/InterfaceWin32.h"
#include "fenetres-win32/Livret.h"
#include "fenetres-win32/MajAutoDialogueChoix.h"
#include "fenetres-win32/ModeAdmin.h"
#include "fenetres-win32/PageBienvenue.h"
#include "fenetres-win32/PageDestination.h"
#include "fenetres-win32/PageListeVersion.h"
#include "fenetres-win32/PagesSuivantes.h"

namespace emporteur::win32 {

int Demarrer(const std::string& ligne, std::function<bool()> connexion) {
    // Le dernier avis est lu (et créé s'il manque) avant tout, dans tous les modes.
    DernierAvis avis;
    if (EstOutilCrc(ligne)) {
        ModeAdmin outil;
        outil.Executer();
        return 0;
    }
    const ModeExecution mode = ClasserLigneCommande(ligne);
    InterfaceWin32 ui;
    ContexteTelechargement ctx(mode, ui);
    DialogueAvisWin32 dialogue;
    // Les pages vivent moins longtemps que le contexte : la page de téléchargement joint
    // son fil de travail, qui lit l'élément choisi, avant que le contexte disparaisse.
    PageListeVersion liste(ctx, mode);
    PageBienvenue bienvenue(ctx, mode, liste.Mode(), avis, dialogue,
                            connexion ? std::move(connexion)
                                      : std::function<bool()>(ConnexionInternet));
    PageDestination destination(ctx);
    PageTelechargement telechargement(ctx);
    PageTerminay terminay(ctx);
    ui.FixerFin([] { Livret::DemanderFin(); });

    // Modes automatiques : la vérification est faite avant que le livret se montre.
    const auto premiere = bienvenue.Preparer();
    if (!premiere) return ui.CodeDeFin().value_or(0);
    Livret livret(GetModuleHandleW(nullptr),
                  {&bienvenue, &liste, &destination, &telechargement, &terminay}, *premiere);
    livret.Executer();
    return ui.CodeDeFin().value_or(0);
}

} // namespace emporteur::win32
