#include "fenetres-win32/ModeAdmin.h"

#include "fenetres-win32/ChoixShell.h"
#include "fenetres-win32/IdsDialogues.h"

namespace emporteur::win32 {

namespace {
// Posté par le fil du calcul quand ses textes sont prêts.
constexpr UINT WM_CALCUL_FINI = WM_APP + 1;

// Une zone de texte Windows passe à la ligne sur CR LF, pas sur LF seul.
std::string AvecRetoursWindows(const std::string& texte) {
    std::string resultat;
    for (const char c : texte) {
        if (c == '\n') resultat += '\r';
        resultat += c;
    }
    return resultat;
}
} // namespace

ModeAdmin::ModeAdmin(ChoixFichier choisirFichier)
    : Dialogue(IDD_MODE_ADMIN),
      choisirFichier_(choisirFichier ? std::move(choisirFichier) : ChoixFichier([](HWND f) {
          return ChoisirFichierShell(f);
      })) {}

ModeAdmin::~ModeAdmin() {
    ArreterCalcul();
}

bool ModeAdmin::Commande(int id, int notification) {
    switch (id) {
    case IDC_CRC_TAILLE:
        if (notification == EN_CHANGE) TailleModifiee();
        return true;
    case IDC_CRC_PARCOURIR:
        Parcourir();
        return true;
    case IDC_CRC_CALCULER:
    case IDOK: // Entrée : le bouton par défaut, s'il est disponible
        Calculer();
        return true;
    case IDCANCEL: // « Terminé », Échap, la case de fermeture
        ArreterCalcul();
        Finir(IDCANCEL);
        return true;
    default:
        return false;
    }
}

bool ModeAdmin::Message(UINT message, WPARAM, LPARAM, INT_PTR& resultat) {
    if (message == WM_CALCUL_FINI) {
        Resultat();
        return true;
    }
    // Le sablier tant que le calcul tourne.
    if (message == WM_SETCURSOR && CalculEnCours()) {
        SetCursor(LoadCursorW(nullptr, IDC_APPSTARTING));
        resultat = TRUE;
        return true;
    }
    return false;
}

void ModeAdmin::RegleCalculer() const {
    EnableWindow(Controle(IDC_CRC_CALCULER), etat_.CalculerDisponible() && !CalculEnCours());
}

void ModeAdmin::TailleModifiee() {
    etat_.TailleModifiee(Texte(IDC_CRC_TAILLE));
    RegleCalculer();
}

void ModeAdmin::Parcourir() {
    const std::optional<std::string> choisi = choisirFichier_(Fenetre());
    etat_.FichierChoisi(choisi);
    if (choisi) FixerTexte(IDC_CRC_FICHIER, *choisi);
    RegleCalculer();
}

void ModeAdmin::Calculer() {
    if (CalculEnCours() || !etat_.CalculerDisponible()) return;
    annulation_ = false;
    calcul_ = std::thread(
        [this, fenetre = Fenetre(), chemin = etat_.Chemin(), taille = etat_.TailleSegment()] {
            TextesCalculCrc textes = CalculerTextesCrc(chemin, taille, &annulation_);
            if (annulation_) return;
            {
                const std::lock_guard garde(verrouResultat_);
                resultat_ = std::move(textes);
            }
            PostMessageW(fenetre, WM_CALCUL_FINI, 0, 0);
        });
    RegleCalculer();
}

void ModeAdmin::Resultat() {
    if (calcul_.joinable()) calcul_.join(); // il vient de poster : fini ou presque
    TextesCalculCrc textes;
    {
        const std::lock_guard garde(verrouResultat_);
        textes = std::move(resultat_);
    }
    const std::string avis = textes.Avertissement.empty() ? "" : "\n\n" + textes.Avertissement;
    FixerTexte(IDC_CRC_LISTE, AvecRetoursWindows(textes.Liste + avis));
    FixerTexte(IDC_CRC_TOTAL, textes.Total);
    RegleCalculer();
}

void ModeAdmin::ArreterCalcul() {
    if (!calcul_.joinable()) return;
    annulation_ = true;
    calcul_.join();
    // Un résultat posté juste avant l'arrêt ne sert plus.
    if (Fenetre()) {
        MSG m;
        while (PeekMessageW(&m, Fenetre(), WM_CALCUL_FINI, WM_CALCUL_FINI, PM_REMOVE)) {
        }
    }
    RegleCalculer();
}

} // namespace emporteur::win32
