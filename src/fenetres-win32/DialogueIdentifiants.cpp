#include "fenetres-win32/DialogueIdentifiants.h"

#include "fenetres-win32/IdsDialogues.h"

namespace emporteur::win32 {

DialogueIdentifiants::DialogueIdentifiants(std::string adresse, bool mandataire)
    : Dialogue(IDD_IDENTIFIANTS), adresse_(std::move(adresse)), mandataire_(mandataire) {}

bool DialogueIdentifiants::Initialiser() {
    if (mandataire_) {
        FixerTexte(IDC_IDENT_INVITE, "Le serveur proxy demande une authentification.");
        ShowWindow(Controle(IDC_IDENT_ADRESSE), SW_HIDE);
    } else {
        FixerTexte(IDC_IDENT_ADRESSE, adresse_);
    }
    return true;
}

bool DialogueIdentifiants::Commande(int id, int) {
    if (id == IDOK) {
        utilisateur_ = Texte(IDC_IDENT_UTILISATEUR);
        motDePasse_ = Texte(IDC_IDENT_MOT_DE_PASSE);
        Finir(IDOK);
        return true;
    }
    if (id == IDCANCEL) {
        Finir(IDCANCEL);
        return true;
    }
    return false;
}

} // namespace emporteur::win32
