#include "fenetres-win32/MajAutoDialogueChoix.h"

#include "fenetres-win32/IdsDialogues.h"

namespace emporteur::win32 {

MajAutoDialogueChoix::MajAutoDialogueChoix(ContexteTelechargement& ctx, bool miseAJour,
                                           bool miseANiveau, ModeExecution mode)
    : Dialogue(IDD_AVIS), ctx_(ctx), etat_(PreparerAvis(ctx, miseAJour, miseANiveau, mode)) {}

bool MajAutoDialogueChoix::Initialiser() {
    SetWindowTextW(Fenetre(), L"Emporteur");
    FixerTexte(IDC_AVIS_VERSION, etat_.texteVersion);
    FixerTexte(IDC_AVIS_QUESTION, etat_.question);
    FixerTexte(IDC_AVIS_PLUS_TARD, etat_.libelleFermer);
    EnableWindow(Controle(IDC_AVIS_MISE_A_NIVEAU), etat_.miseANiveauActif);
    EnableWindow(Controle(IDC_AVIS_MISE_A_JOUR), etat_.miseAJourActif);
    ShowWindow(Controle(IDC_AVIS_NE_PLUS_AVISER), etat_.caseVisible ? SW_SHOW : SW_HIDE);
    // Le focus sur un autre bouton en ferait le bouton d'Entrée : Entrée reste « Plus tard ».
    SetFocus(Controle(IDC_AVIS_PLUS_TARD));
    return false;
}

bool MajAutoDialogueChoix::Commande(int id, int) {
    switch (id) {
    case IDC_AVIS_MISE_A_NIVEAU:
        Fermer(FermetureAvis::BoutonMiseANiveau);
        return true;
    case IDC_AVIS_MISE_A_JOUR:
        Fermer(FermetureAvis::BoutonMiseAJour);
        return true;
    case IDC_AVIS_PLUS_TARD: // aussi Entrée : le bouton par défaut
        Fermer(FermetureAvis::BoutonPlusTard);
        return true;
    case IDCANCEL: // Échap ; la procédure du dialogue le fabrique sans bouton IDCANCEL
        Fermer(FermetureAvis::Echap);
        return true;
    case IDC_AVIS_NE_PLUS_AVISER: {
        const bool coche =
            SendMessageW(Controle(IDC_AVIS_NE_PLUS_AVISER), BM_GETCHECK, 0, 0) == BST_CHECKED;
        CocherNePlusAviser(ctx_, etat_, coche);
        FixerTexte(IDC_AVIS_PLUS_TARD, etat_.libelleFermer);
        return true;
    }
    default:
        return false;
    }
}

// Une fermeture par le système (Alt+F4, fin de session) : jamais un téléchargement.
bool MajAutoDialogueChoix::Message(UINT message, WPARAM, LPARAM, INT_PTR& resultat) {
    if (message != WM_CLOSE) return false;
    Fermer(FermetureAvis::GestionnaireFenetres);
    resultat = 0;
    return true;
}

FinAvis DialogueAvisWin32::Afficher(ContexteTelechargement& ctx, bool miseAJour, bool miseANiveau,
                                    ModeExecution mode) {
    MajAutoDialogueChoix dialogue(ctx, miseAJour, miseANiveau, mode);
    const INT_PTR fin = dialogue.Executer(nullptr);
    // Un modèle introuvable (-1) ne lance rien : comme « Plus tard ».
    return fin < 0 ? FinAvis::PlusTard : static_cast<FinAvis>(fin);
}

} // namespace emporteur::win32
