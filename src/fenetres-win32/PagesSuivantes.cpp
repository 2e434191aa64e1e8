#include "fenetres-win32/PagesSuivantes.h"

#include "assistant/LogiqueTelechargement.h"
#include "assistant/LogiqueTerminay.h"
#include "download/ReglageConnexions.h"
#include "fenetres-win32/IdsPages.h"
#include "fenetres-win32/Livret.h"
#include "fenetres-win32/TexteFenetre.h"
#include "foundation/win32/Utf16.h"

namespace emporteur::win32 {

namespace {
constexpr UINT_PTR kIdMinuterie = 1;
} // namespace

PageTelechargement::PageTelechargement(ContexteTelechargement& ctx)
    : PageLivret(IDD_TELECHARGEMENT), ctx_(ctx) {}

bool PageTelechargement::Activer() {
    FixerBoutons(Boutons::Aucun);
    if (execution_) return true;
    execution_ = std::make_unique<ExecuteurTache>(ctx_.RecetteChoisie(), &ctx_.Interface,
                                                  LireReglageConnexions());
    execution_->Demarrer();
    minuterie_ = SetTimer(Fenetre(), kIdMinuterie,
                          static_cast<UINT>(ExecuteurTache::kPeriodeReleve.count()), nullptr);
    return true;
}

void PageTelechargement::Releve() {
    const auto releve = execution_->Relever();
    const HWND journal = Controle(IDC_JOURNAL);
    if (releve.JournalChange) {
        // Réécrit seulement quand le journal change, sans redessin pendant le changement ;
        // sinon la position de lecture de l'utilisateur reste.
        SendMessageW(journal, WM_SETREDRAW, FALSE, 0);
        EcrireTexteFenetre(journal, FinsDeLigneWindows(execution_->Journal()));
        SendMessageW(journal, EM_LINESCROLL, 0, 999);
        SendMessageW(journal, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(journal, nullptr, TRUE);
    }
    UpdateWindow(journal);
    EcrireTexteFenetre(Controle(IDC_TAILLE_RESTANTE),
                       TexteTailleRestante(releve.Fini ? 0 : releve.OctetsRestants));
    const int total = releve.Fini ? 100 : releve.PourcentageTotal;
    const int segment = releve.Fini ? 100 : releve.PourcentageSegment;
    SendMessageW(Controle(IDC_BARRE_TOTALE), PBM_SETPOS, static_cast<WPARAM>(total), 0);
    SendMessageW(Controle(IDC_BARRE_SEGMENT), PBM_SETPOS, static_cast<WPARAM>(segment), 0);
    if (!releve.Fini) {
        EcrireTexteFenetre(Controle(IDC_TEMPS_RESTANT),
                           TexteTempsApproximatif(releve.TempsRestant));
        return;
    }
    KillTimer(Fenetre(), kIdMinuterie);
    minuterie_ = 0;
    // La page suivante ; le départ de cette page fait l'arrêt, qui peut la retenir.
    const int ici = PropSheet_HwndToIndex(Livret(), Fenetre());
    PropSheet_SetCurSel(Livret(), nullptr, ici + 1);
}

bool PageTelechargement::PeutPartir() {
    return Arreter(false);
}

void PageTelechargement::Annulation() {
    // Le livret se ferme quelle que soit la décision ; un fil qui tournerait encore après
    // l'attente bornée est joint par l'exécuteur, à la destruction de la page.
    Arreter(true);
}

bool PageTelechargement::Arreter(bool annulation) {
    const DecisionArret issue = ArreterTelechargement(echecSignale_, annulation, [this] {
        if (minuterie_) KillTimer(Fenetre(), kIdMinuterie);
        minuterie_ = 0;
        if (!execution_) return std::optional<int>();
        execution_->Annuler(); // réveillé dès que le fil rend son code
        return execution_->Code();
    });
    if (issue.AnnoncerEchec)
        ctx_.Interface.BoiteMessage(kMessageEchecTelechargement, "Emporteur", MB_OK | MB_ICONHAND);
    if (issue.ActiverSuivant) FixerBoutons(Boutons::Suivant);
    return issue.Quitter;
}

bool PageTelechargement::Message(UINT message, WPARAM, LPARAM, LRESULT& resultat) {
    if (message != WM_TIMER || !execution_) return false;
    Releve();
    resultat = 0;
    return true;
}

PageTerminay::PageTerminay(ContexteTelechargement& ctx) : PageLivret(IDD_TERMINAY), ctx_(ctx) {}

// La vue en rapport et ses deux colonnes, sans largeur : l'activation les ajuste.
void PageTerminay::Initialiser() {
    const HWND liste = Controle(IDC_COMPTE_RENDU);
    const LONG_PTR style = GetWindowLongPtrW(liste, GWL_STYLE);
    SetWindowLongPtrW(liste, GWL_STYLE, (style & ~LVS_TYPEMASK) | LVS_REPORT);
    int numero = 0;
    for (const wchar_t* titre : {L"Fichier", L"Résultat"}) {
        LVCOLUMNW colonne{};
        colonne.mask = LVCF_FMT | LVCF_TEXT;
        colonne.fmt = LVCFMT_LEFT;
        colonne.pszText = const_cast<wchar_t*>(titre);
        SendMessageW(liste, LVM_INSERTCOLUMNW, static_cast<WPARAM>(numero++),
                     reinterpret_cast<LPARAM>(&colonne));
    }
}

bool PageTerminay::Activer() {
    FixerBoutons(Boutons::Terminer);
    // Annuler devient une fermeture indisponible.
    PropSheet_CancelToClose(Livret());
    SetDlgItemTextW(Livret(), IDCANCEL, kTexteFermer);
    EnableWindow(GetDlgItem(Livret(), IDCANCEL), FALSE);

    const HWND liste = Controle(IDC_COMPTE_RENDU);
    SendMessageW(liste, LVM_DELETEALLITEMS, 0, 0);
    const CompteRendu rendu = PreparerCompteRendu(ctx_);
    int rang = 0;
    for (const auto& ligne : rendu.Lignes) {
        std::wstring fichier = VersUtf16(ligne.Fichier), resultat = VersUtf16(ligne.Resultat);
        LVITEMW element{};
        element.mask = LVIF_TEXT;
        element.iItem = rang++;
        element.pszText = fichier.data();
        const auto ici =
            SendMessageW(liste, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&element));
        element.iItem = static_cast<int>(ici);
        element.iSubItem = 1;
        element.pszText = resultat.data();
        SendMessageW(liste, LVM_SETITEMTEXTW, static_cast<WPARAM>(ici),
                     reinterpret_cast<LPARAM>(&element));
    }
    for (int colonne = 0; colonne < 2; ++colonne)
        SendMessageW(liste, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(colonne),
                     LVSCW_AUTOSIZE_USEHEADER);
    CheckDlgButton(Fenetre(), IDC_LANCER, rendu.Lancement ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(Controle(IDC_LANCER), rendu.Lancement);
    EcrireTexteFenetre(Controle(IDC_TEXTE_DOSSIER), rendu.TexteDossier);
    return true;
}

bool PageTerminay::Terminer() {
    // Le lancement et l'attente de la fenêtre du programme lancé (5 s au plus) se font
    // sur le fil de l'interface, sous le curseur d'attente ; le livret se ferme ensuite.
    const HCURSOR avant = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    TerminerAssistant(ctx_, IsDlgButtonChecked(Fenetre(), IDC_LANCER) == BST_CHECKED);
    SetCursor(avant);
    return true;
}

bool PageTerminay::Message(UINT message, WPARAM wparam, LPARAM, LRESULT& resultat) {
    if (message != WM_COMMAND || LOWORD(wparam) != IDC_EXPLORER || HIWORD(wparam) != BN_CLICKED)
        return false;
    ExplorerDossierTelechargement(ctx_);
    resultat = 0;
    return true;
}

} // namespace emporteur::win32
