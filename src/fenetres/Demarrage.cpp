#include "fenetres/Demarrage.h"

#include "autocheck/ConnexionInternet.h"
#include "autocheck/DernierAvis.h"
#include "commun/ContexteTelechargement.h"
#include "fenetres/InterfaceQt.h"
#include "fenetres/Livret.h"
#include "fenetres/MajAutoDialogueChoix.h"
#include "fenetres/ModeAdmin.h"
#include "fenetres/TravailDeFond.h"

#include <cstdio>
#include <cstdlib>

namespace emporteur::fenetres {

bool EstOutilCrc(const std::string& ligne) {
    return emporteur::EstOutilCrc(ligne);
}

int Demarrer(const std::string& ligne, const OptionsDemarrage& options) {
    // Le dernier avis est lu (et créé s'il manque) avant tout, dans tous les modes.
    DernierAvis avis;
    if (EstOutilCrc(ligne)) {
        ModeAdmin outil;
        outil.exec();
        return 0;
    }
    const ModeExecution mode = ClasserLigneCommande(ligne);
    InterfaceQt ui;
    ContexteTelechargement ctx(mode, ui);
    DialogueAvisQt dialogue;
    Livret livret(ctx, mode, avis, dialogue,
                  options.connexion ? options.connexion : std::function<bool()>(ConnexionInternet));
    ui.FixerFin([&livret] { livret.DemanderFin(); });
    if (!livret.Preparer()) return ui.CodeDeFin().value_or(0);
    livret.exec();
    const int code = ui.CodeDeFin().value_or(0);
    // Annulé pendant un travail de fond (catalogue sur un lien lent, attente d'une
    // fenêtre) : rien de ce qu'il attend n'est à garder, et il lit le contexte qu'on
    // détruirait. Le processus finit ici, sans l'attendre.
    if (TravailEnCours()) {
        std::fflush(nullptr);
        std::_Exit(code);
    }
    return code;
}

} // namespace emporteur::fenetres
