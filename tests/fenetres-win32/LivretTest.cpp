// Le livret sous wine : boutons en français, jamais d'Aide ni de Précédent, pages qui
// déclinent leur activation sautées, Suivant refusé ou départ refusé qui retiennent la
// page, Annuler qui prévient la page courante, demande de fin.
#include "OutilsFenetres.h"
#include "fenetres-win32/IdsPages.h"

#include <gtest/gtest.h>

#include <memory>

namespace emporteur::win32::essais::livret {
namespace {

// Une page de l'essai : ses réponses sont réglables, ses appels comptés.
class PageEssai : public PageLivret {
  public:
    PageEssai(int modele, Boutons boutons) : PageLivret(modele), boutons_(boutons) {}
    bool declinee = false, refuseSuivant = false, refuseDepart = false;
    int activations = 0, quittees = 0, annulations = 0;

  protected:
    bool Activer() override {
        ++activations;
        FixerBoutons(boutons_);
        return !declinee;
    }
    bool Suivant() override { return !refuseSuivant; }
    void Quitter() override { ++quittees; }
    bool PeutPartir() override { return !refuseDepart; }
    void Annulation() override { ++annulations; }

  private:
    Boutons boutons_;
};

class LivretWin32 : public ::testing::Test {
  protected:
    void SetUp() override {
        using B = PageLivret::Boutons;
        const std::pair<int, B> description[] = {{IDD_BIENVENUE, B::Suivant},
                                                 {IDD_LISTE_VERSION, B::Suivant},
                                                 {IDD_DESTINATION, B::Suivant},
                                                 {IDD_TELECHARGEMENT, B::Aucun},
                                                 {IDD_TERMINAY, B::Terminer}};
        for (const auto& [modele, boutons] : description)
            pages_.push_back(std::make_unique<PageEssai>(modele, boutons));
    }
    void Montrer() {
        std::vector<PageLivret*> pages;
        for (auto& p : pages_)
            pages.push_back(p.get());
        livret_ = std::make_unique<Livret>(GetModuleHandleW(nullptr), pages);
        feuille_ = livret_->Montrer();
        ASSERT_NE(feuille_, nullptr) << "pas de livret (DISPLAY ?)";
        Vider(feuille_);
    }
    void TearDown() override {
        if (feuille_ && IsWindow(feuille_)) DestroyWindow(feuille_);
    }
    int Courante() const {
        return PropSheet_HwndToIndex(feuille_, PropSheet_GetCurrentPageHwnd(feuille_));
    }
    void Presser(int bouton) {
        PropSheet_PressButton(feuille_, bouton);
        Vider(feuille_);
    }
    HWND Bouton(int id) const { return GetDlgItem(feuille_, id); }
    bool Disponible(int id) const {
        const HWND b = Bouton(id);
        return b && IsWindowVisible(b) && IsWindowEnabled(b);
    }

    std::vector<std::unique_ptr<PageEssai>> pages_;
    std::unique_ptr<Livret> livret_;
    HWND feuille_ = nullptr;
};

TEST_F(LivretWin32, BoutonsEnFrancaisSansAideNiPrecedent) {
    Montrer();
    EXPECT_EQ(Utf8(TexteFenetre(Bouton(kBoutonPrecedent))), "< &Précédent");
    EXPECT_EQ(Utf8(TexteFenetre(Bouton(kBoutonSuivant))), "&Suivant >");
    EXPECT_EQ(Utf8(TexteFenetre(Bouton(kBoutonTerminer))), "Terminer");
    EXPECT_EQ(Utf8(TexteFenetre(Bouton(IDCANCEL))), "Annuler");
    EXPECT_FALSE(Bouton(IDHELP) && IsWindowVisible(Bouton(IDHELP)));

    // Boutons de chaque page : Suivant seul, aucun, puis Terminer seul ; Précédent jamais.
    struct Cas {
        int page;
        bool suivant, terminer;
    };
    for (const Cas c : {Cas{0, true, false}, Cas{1, true, false}, Cas{2, true, false},
                        Cas{3, false, false}, Cas{4, false, true}}) {
        PropSheet_SetCurSel(feuille_, nullptr, c.page);
        Vider(feuille_);
        ASSERT_EQ(Courante(), c.page);
        EXPECT_FALSE(Disponible(kBoutonPrecedent)) << "page " << c.page;
        EXPECT_EQ(Disponible(kBoutonSuivant), c.suivant) << "page " << c.page;
        EXPECT_EQ(Disponible(kBoutonTerminer), c.terminer) << "page " << c.page;
        EXPECT_TRUE(Disponible(IDCANCEL)) << "page " << c.page;
    }
}

TEST_F(LivretWin32, SuivantParcourtLesPagesEtSauteCellesQuiDeclinent) {
    pages_[1]->declinee = true;
    Montrer();
    ASSERT_EQ(Courante(), 0);
    Presser(PSBTN_NEXT);
    EXPECT_EQ(Courante(), 2);
    EXPECT_EQ(pages_[1]->activations, 1);
    EXPECT_EQ(pages_[0]->quittees, 1);
    EXPECT_EQ(pages_[1]->quittees, 0); // déclinée : jamais validée
}

TEST_F(LivretWin32, SuivantRefuseOuDepartRefuseRetiennentLaPage) {
    Montrer();
    pages_[0]->refuseSuivant = true;
    Presser(PSBTN_NEXT);
    EXPECT_EQ(Courante(), 0);
    EXPECT_EQ(pages_[0]->quittees, 0);

    pages_[0]->refuseSuivant = false;
    pages_[0]->refuseDepart = true;
    Presser(PSBTN_NEXT);
    EXPECT_EQ(Courante(), 0);
    // Une page imposée (la page de téléchargement passe ainsi à la suivante) aussi.
    PropSheet_SetCurSel(feuille_, nullptr, 1);
    Vider(feuille_);
    EXPECT_EQ(Courante(), 0);

    pages_[0]->refuseDepart = false;
    Presser(PSBTN_NEXT);
    EXPECT_EQ(Courante(), 1);
}

TEST_F(LivretWin32, AnnulerPrevientLaPageCouranteEtFermeLeLivret) {
    Montrer();
    PropSheet_SetCurSel(feuille_, nullptr, 3);
    Vider(feuille_);
    Presser(PSBTN_CANCEL);
    EXPECT_EQ(pages_[3]->annulations, 1);
    EXPECT_EQ(pages_[0]->annulations, 0);
    // Sans mode, un livret fermé n'a plus de page courante.
    EXPECT_EQ(PropSheet_GetCurrentPageHwnd(feuille_), nullptr);
}

TEST_F(LivretWin32, LaDemandeDeFinArriveALaBoucleDuFil) {
    Montrer();
    Livret::DemanderFin();
    bool quitte = false;
    EXPECT_TRUE(Pomper(
        feuille_, [&] { return quitte; }, std::chrono::seconds(20), &quitte));
}

} // namespace
} // namespace emporteur::win32::essais::livret
