// L'assistant Windows entier, de l'accueil à Terminer, contre le nginx du côté Linux :
// téléchargement propre, segment abîmé sur le disque réparé seul, annulation pendant
// le transfert qui garde les segments vérifiés.
#include "OutilsFenetres.h"
#include "crctool/ListeCrc.h"
#include "download/DossierSegments.h"
#include "fenetres-win32/IdsPages.h"
#include "fenetres-win32/PageBienvenue.h"
#include "fenetres-win32/PageDestination.h"
#include "fenetres-win32/PageListeVersion.h"
#include "fenetres-win32/PagesSuivantes.h"
#include "foundation/win32/Utf16.h"
#include "outils/DossierTemporaire.h"
#include "outils/InterfaceEnregistreuse.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>

#ifndef EMPORTEUR_SERVEURS_WIN32
#error "EMPORTEUR_SERVEURS_WIN32 : le fichier des adresses des serveurs du côté Linux"
#endif

namespace emporteur::win32::essais::livret {
namespace {

using test::EcrireFichier;
using test::LireFichier;
using test::OctetsReproductibles;

constexpr std::uint32_t kSegment = 100000;
const std::string kCatalogue = "/telecharger/assistants/Win/";

// Les serveurs démarrés du côté Linux : port de nginx, de tinyproxy, racine, journal.
struct Serveurs {
    std::string portNginx, portMandataire, racine, journal;
};
Serveurs LireServeurs() {
    std::istringstream f(LireFichier(EMPORTEUR_SERVEURS_WIN32));
    Serveurs s;
    std::getline(f, s.portNginx);
    std::getline(f, s.portMandataire);
    std::getline(f, s.racine);
    std::getline(f, s.journal);
    return s;
}

class AvisPlusTard : public DialogueAvis {
  public:
    FinAvis Afficher(ContexteTelechargement&, bool, bool, ModeExecution) override {
        return FinAvis::PlusTard;
    }
};

class BoutEnBoutWin32 : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(serveurs.racine.empty());
        contenu = OctetsReproductibles(450000, 7);
        // Le journal de nginx s'accumule d'un essai à l'autre : seule la suite compte.
        debutJournal = LireFichier(serveurs.journal).size();
    }
    void TearDown() override {
        if (feuille && IsWindow(feuille)) DestroyWindow(feuille);
    }
    // Sert le catalogue d'un élément d'un fichier, `rep/nom`, sous un dossier propre à l'essai.
    void Servir(const std::string& rep, const std::string& donnees) {
        const std::string nom = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        const std::string distant = nom + ".bin";
        EcrireFichier(serveurs.racine + "/" + rep + "/" + distant, donnees);
        ListeCrc liste;
        std::string erreur;
        ASSERT_TRUE(
            CalculerListeCrc(serveurs.racine + "/" + rep + "/" + distant, kSegment, liste, erreur))
            << erreur;
        EcrireFichier(serveurs.racine + kCatalogue + "RecettesOrthalis",
                      "2.1.0.0\n ver=\"6.1.0.12\" produit=\"Orthalis 6.2\" verMaj=\"6.2.0.3\" "
                      "titre=\"Mises à jour\" des=\"De 6.1 à 6.2\" cles=\"maj62*\"\n");
        EcrireFichier(serveurs.racine + kCatalogue + "IngredientsOrthalis",
                      "2.1.0.0\ncle=\"maj62\" fichierdistant=\"" + distant + "\" fichierlocal=\"" +
                          kLocal + "\" site=\"127.0.0.1:" + serveurs.portNginx + "\" rep=\"" + rep +
                          "\" taille=\"" + std::to_string(donnees.size()) + "\" tailleseg=\"" +
                          std::to_string(kSegment) + "\" crc=\"" + liste.Texte + "\"\n");
        EcrireFichier(serveurs.racine + kCatalogue + "IngredientsBoutique",
                      "boutique\ncle=\"Orthalis\" ver=\"6.0.0.1\" produit=\"Orthalis 6\" "
                      "des=\"Vers 6\"\n");
        cheminServi = "/" + rep + "/" + distant;
    }
    // Accueil → liste (la ligne cochée) → destination → téléchargement.
    void JusquAuTelechargement() {
        livret = std::make_unique<Livret>(
            GetModuleHandleW(nullptr),
            std::vector<PageLivret*>{&bienvenue, &liste, &destination, &telechargement, &terminay});
        feuille = livret->Montrer();
        ASSERT_NE(feuille, nullptr) << "pas de livret (DISPLAY ?)";
        Vider(feuille);
        Suivant(1);
        ASSERT_EQ(Courante(), 1) << "catalogue non lu";
        const HWND rubrique = GetDlgItem(GetDlgItem(liste.Fenetre(), IDC_CADRE_LISTE), 2001);
        SendMessageW(GetDlgItem(rubrique, 1234), BM_SETCHECK, BST_CHECKED, 0);
        Suivant(2);
        ASSERT_EQ(Courante(), 2);
        SetDlgItemTextW(destination.Fenetre(), IDC_DOSSIER, VersUtf16(dossier.Chemin()).c_str());
        Suivant(3);
        ASSERT_GE(Courante(), 3); // un travail presque fait peut déjà être à la fin
    }
    void Suivant(int attendue) {
        PropSheet_PressButton(feuille, PSBTN_NEXT);
        Pomper(feuille, [&] { return Courante() >= attendue; });
    }
    int Courante() const {
        return PropSheet_HwndToIndex(feuille, PropSheet_GetCurrentPageHwnd(feuille));
    }
    // Les plages demandées pour le chemin servi, d'après le journal de nginx.
    int Demandes(const std::string& plage) const {
        std::istringstream journal(LireFichier(serveurs.journal).substr(debutJournal));
        int n = 0;
        for (std::string ligne; std::getline(journal, ligne);)
            if (ligne.find(cheminServi) != std::string::npos &&
                ligne.find("\"" + plage + "\"") != std::string::npos)
                ++n;
        return n;
    }

    const std::string kLocal = "MiseAJour62.exe";
    Serveurs serveurs = LireServeurs();
    test::VariableTemporaire hote{"EMPORTEUR_SERVEUR", "127.0.0.1:" + serveurs.portNginx};
    test::VariableTemporaire site{"EMPORTEUR_SITE", "127.0.0.1:" + serveurs.portNginx};
    test::DossierTemporaire dossier;
    std::string contenu, cheminServi;
    std::size_t debutJournal = 0;
    test::InterfaceEnregistreuse ui;
    ContexteTelechargement ctx{ModeExecution::Ordinaire, ui};
    DernierAvis avis;
    AvisPlusTard dialogue;
    PageListeVersion liste{ctx, ModeExecution::Ordinaire};
    PageBienvenue bienvenue{ctx,      ModeExecution::Ordinaire, liste.Mode(), avis,
                            dialogue, [] { return true; }};
    PageDestination destination{ctx};
    PageTelechargement telechargement{ctx};
    PageTerminay terminay{ctx};
    std::unique_ptr<Livret> livret;
    HWND feuille = nullptr;
};

TEST_F(BoutEnBoutWin32, DeLAccueilATerminerQuiLanceLeFichier) {
    Servir("maj", contenu);
    JusquAuTelechargement();
    ASSERT_TRUE(Pomper(
        feuille, [&] { return Courante() == 4; }, std::chrono::seconds(60)));
    EXPECT_EQ(LireFichier(dossier / kLocal), contenu);
    const HWND vue = GetDlgItem(terminay.Fenetre(), IDC_COMPTE_RENDU);
    wchar_t texte[MAX_PATH] = {};
    ListView_GetItemText(vue, 0, 1, texte, MAX_PATH);
    EXPECT_EQ(Utf8(texte), "Réussi");
    EXPECT_EQ(IsDlgButtonChecked(terminay.Fenetre(), IDC_LANCER), UINT{BST_CHECKED});
    // La page de téléchargement a montré la fin : 100 % et rien qui reste.
    const HWND page = telechargement.Fenetre();
    EXPECT_EQ(SendMessageW(GetDlgItem(page, IDC_BARRE_TOTALE), PBM_GETPOS, 0, 0), 100);
    EXPECT_EQ(Utf8(TexteFenetre(GetDlgItem(page, IDC_TAILLE_RESTANTE))),
              "Taille des segments restants\u00A0: 0 octets (0,00 mégaoctets)");

    PropSheet_PressButton(feuille, PSBTN_FINISH);
    Pomper(feuille, [&] { return PropSheet_GetCurrentPageHwnd(feuille) == nullptr; });
    EXPECT_EQ(PropSheet_GetCurrentPageHwnd(feuille), nullptr);
    ASSERT_EQ(ui.Appels("Ouvrir").size(), 1u);
    EXPECT_NE(ui.Appels("Ouvrir")[0].texte.find(kLocal), std::string::npos);
}

TEST_F(BoutEnBoutWin32, UnSegmentAbimeSurLeDisqueEstSeulRedemande) {
    Servir("maj", contenu);
    // Les segments déjà là, vérifiés, sauf le troisième, abîmé.
    const PlanSegments plan(static_cast<std::uint32_t>(contenu.size()), kSegment);
    DossierSegments segments(dossier.Chemin() + "/", plan, kLocal);
    for (std::uint32_t i = 0; i < plan.Nombre(); ++i) {
        std::string octets = contenu.substr(plan.Debut(i), plan.Longueur(i));
        if (i == 2) octets[10] ^= 0x5A;
        ASSERT_TRUE(segments.EcrireSegment(i, octets.data(), plan.Longueur(i)));
    }
    JusquAuTelechargement();
    ASSERT_TRUE(Pomper(
        feuille, [&] { return Courante() == 4; }, std::chrono::seconds(60)));
    EXPECT_EQ(LireFichier(dossier / kLocal), contenu);
    const std::string plage = "bytes=" + std::to_string(plan.Debut(2)) + "-" +
                              std::to_string(plan.Debut(2) + plan.Longueur(2) - 1);
    EXPECT_EQ(Demandes(plage), 1) << plage;
    EXPECT_EQ(Demandes("bytes=0-" + std::to_string(kSegment - 1)), 0);
}

TEST_F(BoutEnBoutWin32, AnnulerPendantLeTransfertGardeLesSegmentsVerifies) {
    // 2 Mo sur une adresse bridée à 128 ko/s : le transfert dure, l'annulation le coupe.
    const std::string gros = OctetsReproductibles(2000000, 9);
    Servir("lent", gros);
    JusquAuTelechargement();
    const PlanSegments plan(static_cast<std::uint32_t>(gros.size()), kSegment);
    DossierSegments segments(dossier.Chemin() + "/", plan, kLocal);
    ASSERT_TRUE(Pomper(
        feuille, [&] { return std::filesystem::exists(VersUtf16(segments.NomSegment(1))); },
        std::chrono::seconds(60)));
    const auto debut = std::chrono::steady_clock::now();
    PropSheet_PressButton(feuille, PSBTN_CANCEL);
    Pomper(feuille, [&] { return PropSheet_GetCurrentPageHwnd(feuille) == nullptr; });
    EXPECT_LT(std::chrono::steady_clock::now() - debut, std::chrono::seconds(15));
    EXPECT_FALSE(telechargement.FilActif());
    EXPECT_FALSE(std::filesystem::exists(VersUtf16(dossier / kLocal)));
    // Les segments écrits sont gardés, chacun juste.
    std::uint32_t gardes = 0;
    std::vector<char> octets(kSegment);
    for (std::uint32_t i = 0; i < plan.Nombre(); ++i)
        if (segments.LireSegment(i, octets.data())) {
            ++gardes;
            EXPECT_EQ(std::string(octets.data(), plan.Longueur(i)),
                      gros.substr(plan.Debut(i), plan.Longueur(i)))
                << i;
        }
    EXPECT_GE(gardes, std::uint32_t{1});
    EXPECT_TRUE(ui.Appels("BoiteMessage").empty()); // l'annulation ne dit rien
}

TEST_F(BoutEnBoutWin32, LaMiseANiveauSansCatalogueRetientLAccueil) {
    Servir("maj", contenu); // la liste de la mise à niveau n'est pas servie
    livret = std::make_unique<Livret>(
        GetModuleHandleW(nullptr),
        std::vector<PageLivret*>{&bienvenue, &liste, &destination, &telechargement, &terminay});
    feuille = livret->Montrer();
    ASSERT_NE(feuille, nullptr);
    Vider(feuille);
    CheckRadioButton(bienvenue.Fenetre(), IDC_MISE_A_JOUR, IDC_MISE_A_NIVEAU, IDC_MISE_A_NIVEAU);
    PropSheet_PressButton(feuille, PSBTN_NEXT);
    Vider(feuille);
    EXPECT_EQ(Courante(), 0);
    EXPECT_FALSE(ui.Appels("BoiteMessage").empty());
    EXPECT_TRUE(ctx.ModeMiseANiveau);
}

TEST_F(BoutEnBoutWin32, LAvisDuModeAutomatiqueDecideDeLaPremierePageMontree) {
    // Rien d'installé : la boutique offre une mise à niveau, l'avis est montré.
    Servir("maj", contenu);
    // L'avis répond comme on le lui dit et compte ses affichages.
    struct AvisRepondu : DialogueAvis {
        FinAvis fin;
        int vus = 0;
        explicit AvisRepondu(FinAvis f) : fin(f) {}
        FinAvis Afficher(ContexteTelechargement&, bool, bool, ModeExecution) override {
            ++vus;
            return fin;
        }
    };
    struct Cas {
        FinAvis fin;
        std::optional<int> premiere; // 1 : la liste ; rien : la fin
    };
    for (const Cas c : {Cas{FinAvis::MiseAJour, 1}, Cas{FinAvis::PlusTard, std::nullopt}}) {
        for (const ModeExecution mode : {ModeExecution::MajDiscrete, ModeExecution::MajPlusMan}) {
            test::InterfaceEnregistreuse ui2;
            ContexteTelechargement ctx2(mode, ui2);
            AvisRepondu avis2(c.fin);
            PageListeVersion liste2(ctx2, mode);
            PageBienvenue bienvenue2(ctx2, mode, liste2.Mode(), avis, avis2, [] { return true; });
            EXPECT_EQ(bienvenue2.Preparer(), c.premiere) << static_cast<int>(mode);
            EXPECT_EQ(avis2.vus, 1);
            MSG message;
            EXPECT_EQ(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE,
                      !c.premiere.has_value());
        }
    }
}

} // namespace
} // namespace emporteur::win32::essais::livret
