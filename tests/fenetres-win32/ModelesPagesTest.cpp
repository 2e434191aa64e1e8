// Les cinq modèles de pages, montrés dans le livret : chaque contrôle relu (texte, id,
// classe, style, position par MapDialogRect) doit tenir contre la description des pages.
#include "ModelesPages.h"

#include <gtest/gtest.h>

#include <memory>

namespace emporteur::win32::essais::livret {
namespace {

// Le livret des cinq modèles, sur des pages sans logique : seuls les modèles sont en cause.
class ModelesPagesWin32 : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const auto& m : ModelesPages())
            pages_.push_back(std::make_unique<PageLivret>(m.id));
        std::vector<PageLivret*> pages;
        for (auto& p : pages_)
            pages.push_back(p.get());
        livret_ = std::make_unique<Livret>(GetModuleHandleW(nullptr), pages);
        feuille_ = livret_->Montrer();
        ASSERT_NE(feuille_, nullptr) << "pas de livret (DISPLAY ?)";
        Vider(feuille_);
    }
    void TearDown() override {
        if (feuille_) DestroyWindow(feuille_);
    }
    HWND Aller(int indice) {
        PropSheet_SetCurSel(feuille_, nullptr, indice);
        Vider(feuille_);
        return PropSheet_GetCurrentPageHwnd(feuille_);
    }

    std::vector<std::unique_ptr<PageLivret>> pages_;
    std::unique_ptr<Livret> livret_;
    HWND feuille_ = nullptr;
};

TEST_F(ModelesPagesWin32, ChaqueControleTientASaPlaceDuModele) {
    for (std::size_t i = 0; i < ModelesPages().size(); ++i) {
        const Modele& m = ModelesPages()[i];
        const HWND page = Aller(static_cast<int>(i));
        ASSERT_EQ(page, pages_[i]->Fenetre()) << m.nom;
        for (const auto& ecart : Ecarts(page, m.controles))
            ADD_FAILURE() << m.nom << " : " << ecart;
    }
}

TEST_F(ModelesPagesWin32, ChaqueControleVisibleTientDansLaPageQuiPorteLeTitre) {
    EXPECT_EQ(Utf8(TexteFenetre(feuille_)), "Emporteur");
    for (std::size_t i = 0; i < ModelesPages().size(); ++i) {
        const Modele& m = ModelesPages()[i];
        const HWND page = Aller(static_cast<int>(i));
        RECT client;
        GetClientRect(page, &client);
        for (const auto& c : LireControles(page)) {
            RECT dedans;
            IntersectRect(&dedans, &c.rect, &client);
            if (c.style & WS_VISIBLE) {
                EXPECT_TRUE(EqualRect(&dedans, &c.rect)) << m.nom << " : " << c.id << " dépasse";
            }
        }
    }
}

} // namespace
} // namespace emporteur::win32::essais::livret
