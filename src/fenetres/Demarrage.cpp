#include "fenetres/Demarrage.h"

#include "autocheck/ConnexionInternet.h"
#include "autocheck/DernierAvis.h"
#include "commun/ContexteTelechargement.h"
#include "fenetres/InterfaceQt.h"
#include "fenetres/Livret.h"
#include "fenetres/MajAutoDialogueChoix.h"
#include "fenetres/ModeAdmin.h"

namespace emporteur::fenetres {

bool EstOutilCrc(const std::string& ligne) {
    return ligne.size() == 2 && ligne[0] == '/' && (ligne[1] == 'a' || ligne[1] == 'A');
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
    InterfaceQt interface;
    ContexteTelechargement ctx(mode, interface);
    DialogueAvisQt dialogue;
    Livret livret(ctx, mode, avis, dialogue,
                  options.connexion ? options.connexion : std::function<bool()>(ConnexionInternet));
    if (!livret.Preparer()) return 0;
    livret.exec();
    return 0;
}

} // namespace emporteur::fenetres
