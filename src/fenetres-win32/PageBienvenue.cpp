#include "fenetres-win32/PageBienvenue.h"

#include "fenetres-win32/IdsPages.h"
#include "fenetres-win32/Livret.h"
#include "fenetres-win32/ParametresProxy.h"

namespace emporteur::win32 {

namespace {
constexpr COLORREF kTransparent = RGB(255, 0, 255);
} // namespace

PageBienvenue::PageBienvenue(ContexteTelechargement& ctx, ModeExecution mode,
                             ModeExecution& modeListe, DernierAvis& avis, DialogueAvis& dialogue,
                             std::function<bool()> connexion)
    : PageLivret(IDD_BIENVENUE), ctx_(ctx), mode_(mode),
      logique_(ctx, mode, modeListe, avis, dialogue, std::move(connexion)),
      image_(
          static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_ACCUEIL),
                                          IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS))) {}

PageBienvenue::~PageBienvenue() {
    if (image_) DeleteObject(image_);
}

std::optional<int> PageBienvenue::Preparer() {
    if (mode_ == ModeExecution::Ordinaire) return 0;
    // Dans les modes automatiques, la mise à jour est le choix coché à l'activation.
    const ActionBienvenue action = logique_.Suivant(false);
    if (!Suivre(action))
        return action == ActionBienvenue::Rester ? std::optional<int>(0) : std::nullopt;
    return 1;
}

void PageBienvenue::Initialiser() {
    CheckRadioButton(Fenetre(), IDC_MISE_A_JOUR, IDC_MISE_A_NIVEAU, IDC_MISE_A_JOUR);
}

bool PageBienvenue::Activer() {
    const HINSTANCE module = GetModuleHandleW(nullptr);
    const auto grande =
        LoadImageW(module, MAKEINTRESOURCEW(IDI_EMPORTEUR), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                   GetSystemMetrics(SM_CYICON), LR_SHARED);
    const auto petite =
        LoadImageW(module, MAKEINTRESOURCEW(IDI_EMPORTEUR), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED);
    SendMessageW(Livret(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(grande));
    // La petite aussi : sans elle la barre de titre garde l'icône générique.
    SendMessageW(Livret(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(petite));
    FixerBoutons(Boutons::Suivant);
    CheckRadioButton(Fenetre(), IDC_MISE_A_JOUR, IDC_MISE_A_NIVEAU, IDC_MISE_A_JOUR);
    return true;
}

bool PageBienvenue::Suivant() {
    // Le réseau tient le fil de l'interface : le curseur d'attente le dit.
    const HCURSOR avant = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    const bool miseANiveau = IsDlgButtonChecked(Fenetre(), IDC_MISE_A_JOUR) != BST_CHECKED;
    const ActionBienvenue action = logique_.Suivant(miseANiveau);
    SetCursor(avant);
    return Suivre(action);
}

// Vrai pour passer à la page suivante (la liste des versions, dans les deux cas).
bool PageBienvenue::Suivre(ActionBienvenue action) {
    switch (action) {
    case ActionBienvenue::Suivante:
    case ActionBienvenue::ListeVersions:
        return true;
    case ActionBienvenue::Quitter:
        Livret::DemanderFin();
        return false;
    case ActionBienvenue::Rester:
        return false;
    }
    return false;
}

void PageBienvenue::ReglerProxy() {
    ParametresProxy dialogue(ctx_.Connexion);
    const bool confirme = dialogue.Executer(Fenetre()) == IDOK;
    CheckDlgButton(Fenetre(), IDC_PROXY, confirme ? BST_CHECKED : BST_UNCHECKED);
}

bool PageBienvenue::Message(UINT message, WPARAM wparam, LPARAM, LRESULT& resultat) {
    resultat = 0;
    if (message == WM_COMMAND && LOWORD(wparam) == IDC_PROXY && HIWORD(wparam) == BN_CLICKED) {
        ReglerProxy();
        return true;
    }
    if (message == WM_PAINT) {
        Peindre();
        return true;
    }
    return false;
}

void PageBienvenue::Peindre() {
    PAINTSTRUCT peinture;
    const HDC dc = BeginPaint(Fenetre(), &peinture);
    // L'image n'est peinte que si la zone à repeindre touche le cadre du contrôle 1017,
    // pris en (0, 0) de la page.
    RECT cadre{}, commun{};
    GetClientRect(Controle(IDC_IMAGE_ACCUEIL), &cadre);
    BITMAP info{};
    if (image_ && IntersectRect(&commun, &peinture.rcPaint, &cadre) &&
        GetObjectW(image_, sizeof info, &info)) {
        const HDC memoire = CreateCompatibleDC(dc);
        const HGDIOBJ avant = SelectObject(memoire, image_);
        TransparentBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memoire, 0, 0, info.bmWidth,
                       info.bmHeight, kTransparent);
        SelectObject(memoire, avant);
        DeleteDC(memoire);
    }
    EndPaint(Fenetre(), &peinture);
}

} // namespace emporteur::win32
