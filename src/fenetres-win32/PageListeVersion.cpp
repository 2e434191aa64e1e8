#include "fenetres-win32/PageListeVersion.h"

#include "assistant/ChoixVersions.h"
#include "assistant/DefilementListe.h"
#include "assistant/ModeleListeVersions.h"
#include "fenetres-win32/IdsPages.h"
#include "fenetres-win32/TexteFenetre.h"
#include "foundation/win32/Utf16.h"

namespace emporteur::win32 {

namespace {
RECT RectangleDansPage(HWND page, HWND controle) {
    RECT rect;
    GetWindowRect(controle, &rect);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
} // namespace

PageListeVersion::PageListeVersion(ContexteTelechargement& ctx, ModeExecution mode)
    : PageLivret(IDD_LISTE_VERSION), ctx_(ctx), mode_(mode) {}

bool PageListeVersion::Activer() {
    FixerBoutons(Boutons::Suivant);
    Construire();
    if (mode_ != ModeExecution::MajDiscrete) return true;
    // Mode discret : le choix présélectionné vaut, la page ne se montre pas.
    AccepterChoixVersions(ctx_, Cochees());
    return false;
}

void PageListeVersion::Vider() {
    for (auto& [indice, boite] : cases_)
        DestroyWindow(boite);
    for (HWND rubrique : rubriques_)
        DestroyWindow(rubrique);
    cases_.clear();
    rubriques_.clear();
    hautsRubriques_.clear();
    decalage_ = 0;
}

void PageListeVersion::Construire() {
    Vider();
    const HWND intro = Controle(IDC_INTRO_LISTE), cadre = Controle(IDC_CADRE_LISTE),
               barre = Controle(IDC_BARRE_LISTE), miseANiveau = Controle(IDC_CADRE_MISE_A_NIVEAU);
    RECT client;
    GetClientRect(cadre, &client);
    const RECT rectIntro = RectangleDansPage(Fenetre(), intro);
    const auto modele = ConstruireModeleListe(ctx_, client.bottom, rectIntro.bottom);
    EcrireTexteFenetre(intro, modele.introduction);
    const int droite = rectIntro.right; // R : la droite du texte d'introduction
    const HINSTANCE module = GetModuleHandleW(nullptr);

    std::vector<HWND> parents;
    for (const auto& r : modele.rubriques) {
        HWND rubrique = miseANiveau;
        if (!modele.miseANiveau) {
            rubrique =
                CreateWindowExW(0, L"Static", nullptr, WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, 0, 0,
                                cadre, reinterpret_cast<HMENU>(INT_PTR(r.id)), module, nullptr);
            rubriques_.push_back(rubrique);
            hautsRubriques_.push_back(r.haut);
        }
        EcrireTexteFenetre(rubrique, r.titre);
        SetWindowPos(rubrique, nullptr, modele.gaucheRubriques, r.haut,
                     droite - modele.gaucheRubriques, r.hauteur, SWP_NOZORDER | SWP_SHOWWINDOW);
        parents.push_back(rubrique);
    }
    // Les lignes prennent la police de la page ; les rubriques gardent celle d'un statique.
    const auto police = SendMessageW(Fenetre(), WM_GETFONT, 0, 0);
    for (const auto& l : modele.lignes) {
        const DWORD style =
            WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX | (l.indice == 0 ? WS_GROUP : 0);
        const HWND boite = CreateWindowExW(
            0, L"Button", VersUtf16(l.texte).c_str(), style, liste_versions::kGaucheLigne, l.haut,
            droite - liste_versions::kMargeDroiteLigne - liste_versions::kGaucheLigne,
            l.bas - l.haut, parents[l.rubrique], reinterpret_cast<HMENU>(INT_PTR(l.id)), module,
            nullptr);
        SendMessageW(boite, WM_SETFONT, police, TRUE);
        SendMessageW(boite, BM_SETCHECK, l.cochee ? BST_CHECKED : BST_UNCHECKED, 0);
        cases_.emplace_back(l.indice, boite);
    }
    gaucheRubriques_ = modele.gaucheRubriques;
    ShowWindow(miseANiveau, modele.miseANiveau ? SW_SHOW : SW_HIDE);
    ShowWindow(cadre, modele.miseANiveau ? SW_HIDE : SW_SHOW);
    ShowWindow(barre, modele.miseANiveau ? SW_HIDE : SW_SHOW);
    hauteurContenu_ = modele.hauteurContenu;
    hauteurVisible_ = client.bottom;
    // La barre va de 0 au décalage maximal ; sa position est le décalage.
    SetScrollRange(barre, SB_CTL, 0, DecalageMaximal({0, hauteurContenu_, hauteurVisible_}), FALSE);
    DefilerDe(modele.decalage);
}

// Le contenu du cadre monte de `delta` pixels : les rubriques sont replacées (ce que
// ferait ScrollWindow, qui ne déplace rien tant que la page n'est pas montrée).
void PageListeVersion::DefilerDe(int delta) {
    decalage_ += delta;
    for (std::size_t i = 0; i < rubriques_.size(); ++i)
        SetWindowPos(rubriques_[i], nullptr, gaucheRubriques_, hautsRubriques_[i] - decalage_, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetScrollPos(Controle(IDC_BARRE_LISTE), SB_CTL, decalage_, TRUE);
    InvalidateRect(Controle(IDC_CADRE_LISTE), nullptr, TRUE);
}

// La position du curseur : celle du message (16 bits), ou celle du glissement en cours
// quand la barre va au-delà.
int PageListeVersion::Curseur(WPARAM wparam) const {
    int bas = 0, haut = 0;
    GetScrollRange(Controle(IDC_BARRE_LISTE), SB_CTL, &bas, &haut);
    if (haut <= 0xFFFF) return HIWORD(wparam);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_TRACKPOS;
    GetScrollInfo(Controle(IDC_BARRE_LISTE), SB_CTL, &info);
    return info.nTrackPos;
}

void PageListeVersion::Defiler(WPARAM wparam) {
    const int code = LOWORD(wparam);
    ActionBarre action = ActionBarre::Autre;
    switch (code) {
    case SB_LINEUP:
        action = ActionBarre::LigneHaut;
        break;
    case SB_LINEDOWN:
        action = ActionBarre::LigneBas;
        break;
    case SB_PAGEUP:
        action = ActionBarre::PageHaut;
        break;
    case SB_PAGEDOWN:
        action = ActionBarre::PageBas;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        action = ActionBarre::Curseur;
        break;
    default:
        return;
    }
    const int voulu =
        emporteur::Defiler({decalage_, hauteurContenu_, hauteurVisible_}, action, Curseur(wparam));
    DefilerDe(voulu - decalage_);
    const HWND cadre = Controle(IDC_CADRE_LISTE);
    InvalidateRect(cadre, nullptr, TRUE);
    UpdateWindow(cadre);
}

bool PageListeVersion::Message(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& resultat) {
    if (message == WM_HSCROLL) return true; // ignoré
    if (message != WM_VSCROLL || reinterpret_cast<HWND>(lparam) != Controle(IDC_BARRE_LISTE))
        return false;
    Defiler(wparam);
    resultat = 0;
    return true;
}

std::vector<bool> PageListeVersion::Cochees() const {
    std::vector<bool> cochees(ctx_.Recettes.size(), false);
    for (const auto& [indice, boite] : cases_)
        if (indice < cochees.size())
            cochees[indice] = SendMessageW(boite, BM_GETCHECK, 0, 0) == BST_CHECKED;
    return cochees;
}

bool PageListeVersion::Suivant() {
    return AccepterChoixVersions(ctx_, Cochees());
}

void PageListeVersion::Quitter() {
    RassemblerChoixVersions(ctx_, Cochees());
}

} // namespace emporteur::win32
