// Un dialogue du frontal Windows montré seul, modal, sur un contexte d'exemple, le
// temps d'une capture d'écran : avis, proxy, identifiants, crc, dossier ou boite.
#include "commun/ContexteTelechargement.h"
#include "fenetres-win32/InterfaceWin32.h"
#include "fenetres-win32/MajAutoDialogueChoix.h"
#include "fenetres-win32/ModeAdmin.h"
#include "fenetres-win32/ParametresProxy.h"

#include <memory>
#include <string_view>

using namespace emporteur;

int main(int argc, char** argv) {
    const std::string_view quoi = argc > 1 ? argv[1] : "avis";
    win32::InterfaceWin32 ui;
    ContexteTelechargement ctx(ModeExecution::MajDiscrete, ui);
    if (quoi == "avis") {
        ctx.VersionAffichee = "6.0.1";
        ctx.ProduitBoutique = "Orthalis 7";
        auto r = std::make_unique<Recette>();
        r->Produit = "Orthalis 6.0.2";
        ctx.Recettes.push_back(std::move(r));
        win32::MajAutoDialogueChoix(ctx, true, true, ModeExecution::MajDiscrete).Executer();
    } else if (quoi == "proxy") {
        win32::ParametresProxy(ctx.Connexion).Executer();
    } else if (quoi == "identifiants") {
        std::string utilisateur, motDePasse;
        ui.DemanderIdentifiants(
            "http://telechargement.mervane.example/telecharger/assistants/Win/RecettesOrthalis",
            false, utilisateur, motDePasse);
    } else if (quoi == "crc") {
        win32::ModeAdmin().Executer();
    } else if (quoi == "dossier") {
        std::string chemin = "C:\\windows";
        ui.ChoisirDossier("Choisissez l’emplacement de sauvegarde :", chemin);
    } else {
        ui.BoiteMessage("Le dossier spécifié n’existe pas.\nDésirez-vous le créer ?", "Emporteur",
                        MB_YESNO | MB_ICONQUESTION);
    }
    return 0;
}
