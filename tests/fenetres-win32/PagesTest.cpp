// Les pages réelles dans le livret, sur la logique du noyau : chaque page montrée sans
// mode, pilotée par messages, ses contrôles relus après son activation.
#include "ModelesPages.h"
#include "fenetres-win32/IdsPages.h"
#include "fenetres-win32/PageBienvenue.h"
#include "fenetres-win32/PageDestination.h"
#include "fenetres-win32/PageListeVersion.h"
#include "fenetres-win32/PagesSuivantes.h"
#include "foundation/win32/Utf16.h"
#include "outils/DossierTemporaire.h"
#include "outils/InterfaceEnregistreuse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

namespace emporteur::win32::essais::livret {
namespace {

using test::InterfaceEnregistreuse;

// La zone du serveur du dialogue du mandataire (IdsDialogues.h).
constexpr int kZoneServeurMandataire = 1028;

// L'avis n'est pas en cause ici : il répond « Plus tard ».
class AvisPlusTard : public DialogueAvis {
  public:
    FinAvis Afficher(ContexteTelechargement&, bool, bool, ModeExecution) override {
        return FinAvis::PlusTard;
    }
};

// Un élément d'un fichier de `taille` octets, sous la rubrique `titre`.
std::unique_ptr<Recette> Element(const std::string& titre, const std::string& description,
                                 std::int32_t taille, const std::string& version = "1.0.0.0") {
    auto recette = std::make_unique<Recette>();
    recette->Titre = titre;
    recette->Description = description;
    recette->Version = version;
    auto fichier = std::make_unique<Ingredient>();
    fichier->NomLocal = description + ".exe";
    fichier->NomDistant = fichier->NomLocal;
    fichier->Taille = taille;
    fichier->TailleSegment = taille;
    recette->Fichiers.push_back(std::move(fichier));
    return recette;
}

class PagesWin32 : public ::testing::Test {
  protected:
    PagesWin32()
        : ctx(ModeExecution::Ordinaire, ui), liste(ctx, ModeExecution::Ordinaire),
          bienvenue(ctx, ModeExecution::Ordinaire, liste.Mode(), avis, dialogue,
                    [] { return true; }),
          destination(ctx), telechargement(ctx), terminay(ctx) {}
    void TearDown() override {
        if (feuille && IsWindow(feuille)) DestroyWindow(feuille);
    }
    // Le livret des pages réelles, ouvert sur la page `indice`.
    void Montrer(int indice) {
        livret = std::make_unique<Livret>(
            GetModuleHandleW(nullptr),
            std::vector<PageLivret*>{&bienvenue, &liste, &destination, &telechargement, &terminay},
            indice);
        feuille = livret->Montrer();
        ASSERT_NE(feuille, nullptr) << "pas de livret (DISPLAY ?)";
        Vider(feuille);
    }
    int Courante() const {
        return PropSheet_HwndToIndex(feuille, PropSheet_GetCurrentPageHwnd(feuille));
    }
    void Suivant() {
        PropSheet_PressButton(feuille, PSBTN_NEXT);
        Vider(feuille);
    }
    std::string Texte(HWND fenetre) const { return Utf8(TexteFenetre(fenetre)); }

    test::DossierTemporaire dossier;
    InterfaceEnregistreuse ui;
    ContexteTelechargement ctx;
    DernierAvis avis;
    AvisPlusTard dialogue;
    PageListeVersion liste;
    PageBienvenue bienvenue;
    PageDestination destination;
    PageTelechargement telechargement;
    PageTerminay terminay;
    std::unique_ptr<Livret> livret;
    HWND feuille = nullptr;
};

TEST_F(PagesWin32, LAccueilCocheLaMiseAJourEtTientSonModele) {
    Montrer(0);
    const HWND page = bienvenue.Fenetre();
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_MISE_A_JOUR), UINT{BST_CHECKED});
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_MISE_A_NIVEAU), UINT{BST_UNCHECKED});
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_PROXY), UINT{BST_UNCHECKED});
    EXPECT_NE(SendMessageW(feuille, WM_GETICON, ICON_BIG, 0), 0);
    for (const auto& ecart : Ecarts(page, ModelesPages()[0].controles))
        ADD_FAILURE() << ecart;
}

// Le dialogue du mandataire ouvert par la case 1031 : la fenêtre du fil qui porte la zone
// du serveur.
HWND DialogueMandataire() {
    HWND trouve = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND fenetre, LPARAM donnee) -> BOOL {
            if (!IsWindowVisible(fenetre) || !GetDlgItem(fenetre, kZoneServeurMandataire))
                return TRUE;
            *reinterpret_cast<HWND*>(donnee) = fenetre;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&trouve));
    return trouve;
}

// Le bouton que la minuterie presse dans le dialogue modal, dès qu'il est là.
int boutonMandataire = 0;
int fermeturesMandataire = 0;

TEST_F(PagesWin32, LaCaseDuMandataireDitCommentLeDialogueAFini) {
    ctx.Connexion.Serveur = "ancien";
    Montrer(0);
    const HWND page = bienvenue.Fenetre();
    struct Cas {
        int bouton;
        UINT coche;
    };
    for (const Cas c : {Cas{IDOK, BST_CHECKED}, Cas{IDCANCEL, BST_UNCHECKED}}) {
        boutonMandataire = c.bouton;
        fermeturesMandataire = 0;
        // Le dialogue est modal : sa boucle fait tourner la minuterie du fil, qui le ferme.
        const UINT_PTR minuterie = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) {
            const HWND d = DialogueMandataire();
            if (!d) return;
            ++fermeturesMandataire;
            PostMessageW(d, WM_COMMAND, MAKEWPARAM(boutonMandataire, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(d, boutonMandataire)));
        });
        SendMessageW(GetDlgItem(page, IDC_PROXY), BM_CLICK, 0, 0);
        KillTimer(nullptr, minuterie);
        EXPECT_GE(fermeturesMandataire, 1) << c.bouton; // le dialogue s'est bien montré
        EXPECT_EQ(IsDlgButtonChecked(page, IDC_PROXY), c.coche) << c.bouton;
    }
    // Annuler ramène le réglage à « sans mandataire ».
    EXPECT_EQ(ctx.Connexion.Serveur, "");
    EXPECT_EQ(ctx.Connexion.Port, 80);
}

TEST_F(PagesWin32, LaListeGroupeSousDesRubriquesEtPreselectionneLaVersionInstallee) {
    ctx.VersionInstallee = "6.1.0.0";
    ctx.VersionAffichee = "6.1";
    ctx.Recettes.push_back(Element("A", "Correctif", 1234567));
    ctx.Recettes.push_back(Element("A", "Mise à jour 6.2", 6000, "6.1.0.0"));
    ctx.Recettes.push_back(Element("B", "Guide", 9000));
    ctx.Recettes.push_back(Element("B", "Trop petit", 5000)); // 0,00 : pas de ligne
    ctx.IndiceChoisi = 1;
    Montrer(1);
    const HWND page = liste.Fenetre(), cadre = GetDlgItem(page, IDC_CADRE_LISTE);
    EXPECT_EQ(Texte(GetDlgItem(page, IDC_INTRO_LISTE)),
              "Votre version actuelle d’Orthalis est : 6.1.\n\nLa mise à jour la plus appropriée "
              "à votre version d’Orthalis est présélectionnée.\n\nSi désiré, veuillez choisir les "
              "éléments à télécharger :");

    // Rubriques 2001 et 2002 dans le cadre ; lignes 1234 + i dans leur rubrique, en pixels.
    const HWND a = GetDlgItem(cadre, 2001), b = GetDlgItem(cadre, 2002);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(Texte(a), "A");
    EXPECT_EQ(Texte(b), "B");
    RECT ra, rb;
    GetWindowRect(a, &ra);
    GetWindowRect(b, &rb);
    EXPECT_EQ(ra.bottom - ra.top, 34 + 22 * 2);
    EXPECT_EQ(rb.top - ra.top, 34 + 22 * 2 - 10); // les rubriques se chevauchent de 10
    struct Cas {
        HWND rubrique;
        int id;
        const char* texte;
        bool cochee;
        int haut;
    };
    for (const Cas c : {Cas{a, 1234, "Correctif (1,23 mégaoctets)", false, 22},
                        Cas{a, 1235, "Mise à jour 6.2 (0,01 mégaoctets)", true, 44},
                        Cas{b, 1236, "Guide (0,01 mégaoctets)", false, 22}}) {
        const HWND ligne = GetDlgItem(c.rubrique, c.id);
        ASSERT_NE(ligne, nullptr) << c.id;
        EXPECT_EQ(Texte(ligne), c.texte);
        EXPECT_EQ(SendMessageW(ligne, BM_GETCHECK, 0, 0) == BST_CHECKED, c.cochee) << c.id;
        RECT r;
        GetWindowRect(ligne, &r);
        MapWindowPoints(nullptr, c.rubrique, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, 10) << c.id;
        EXPECT_EQ(r.top, c.haut) << c.id;
        EXPECT_EQ(r.bottom - r.top, 12) << c.id;
    }
    EXPECT_EQ(GetDlgItem(b, 1237), nullptr);
}

TEST_F(PagesWin32, LaListeSansChoixAvertitPuisRassembleLesCochees) {
    ctx.Recettes.push_back(Element("A", "Un", 10000));
    ctx.Recettes.push_back(Element("A", "Deux", 20000));
    ctx.Recettes.push_back(Element("A", "Trois", 30000));
    ctx.IndiceChoisi = -1;
    Montrer(1);
    Suivant();
    EXPECT_EQ(Courante(), 1);
    const auto boites = ui.Appels("BoiteMessage");
    ASSERT_EQ(boites.size(), 1u);
    EXPECT_EQ(boites[0].texte, "Aucune mise à jour n’est sélectionnée.");

    const HWND rubrique = GetDlgItem(GetDlgItem(liste.Fenetre(), IDC_CADRE_LISTE), 2001);
    for (const int id : {1235, 1236})
        SendMessageW(GetDlgItem(rubrique, id), BM_SETCHECK, BST_CHECKED, 0);
    Suivant();
    EXPECT_EQ(Courante(), 2);
    EXPECT_EQ(ctx.IndiceChoisi, 1);
    ASSERT_EQ(ctx.Recettes[1]->Fichiers.size(), 2u);
    EXPECT_EQ(ctx.Recettes[1]->Fichiers[1]->NomLocal, "Trois.exe");
}

TEST_F(PagesWin32, LaListeSOuvreSurLaPreselectionEtDefileParSaBarre) {
    // Trente éléments sous un titre : la ligne présélectionnée, la dernière, est sous le cadre.
    constexpr int n = 30;
    ctx.VersionInstallee = "6.1.0.0";
    for (int i = 0; i < n; ++i)
        ctx.Recettes.push_back(Element("A", "Élément " + std::to_string(i), 10000,
                                       i == n - 1 ? "6.1.0.0" : "1.0.0.0"));
    Montrer(1);
    const HWND page = liste.Fenetre(), cadre = GetDlgItem(page, IDC_CADRE_LISTE),
               barre = GetDlgItem(page, IDC_BARRE_LISTE);
    RECT client;
    GetClientRect(cadre, &client);
    const int contenu = 34 + 22 * n, visible = client.bottom, maximal = contenu - visible;
    ASSERT_GT(maximal, 0);
    // La dernière présélection au milieu du cadre, dans la borne du défilement.
    const int ouverture = std::min(22 + 22 * (n - 1) + 12 - visible / 2, maximal);
    EXPECT_EQ(liste.Decalage(), ouverture);
    EXPECT_EQ(GetScrollPos(barre, SB_CTL), ouverture);
    const HWND rubrique = GetDlgItem(cadre, 2001);
    RECT r;
    GetWindowRect(rubrique, &r);
    MapWindowPoints(nullptr, cadre, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.top, -ouverture); // le contenu est monté d'autant

    // Chaque code de la barre, depuis le haut : pas de ligne 1/20, de page 1/10, au moins 5.
    const int ligne = std::max(5, maximal / 20), pagePas = std::max(5, maximal / 10);
    struct Cas {
        int code;
        int attendu;
    };
    for (const Cas c : {Cas{SB_LINEDOWN, ligne}, Cas{SB_PAGEDOWN, pagePas}, Cas{SB_LINEUP, 0},
                        Cas{SB_BOTTOM, 0}}) {
        SendMessageW(page, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0),
                     reinterpret_cast<LPARAM>(barre)); // ramené en haut (curseur à 0)
        SendMessageW(page, WM_VSCROLL, MAKEWPARAM(c.code, 0), reinterpret_cast<LPARAM>(barre));
        EXPECT_EQ(liste.Decalage(), c.attendu) << c.code;
        GetWindowRect(rubrique, &r);
        MapWindowPoints(nullptr, cadre, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.top, -c.attendu) << c.code;
    }
}

TEST_F(PagesWin32, LaDestinationMontreLeDossierEtNeRangeQuUnDossierQuiExiste) {
    ctx.Recettes.push_back(Element("A", "Un", 10000));
    ctx.IndiceChoisi = 0;
    ctx.Recettes[0]->Dossier = dossier.Chemin() + "\\";
    Montrer(2);
    const HWND zone = GetDlgItem(destination.Fenetre(), IDC_DOSSIER);
    EXPECT_EQ(Texte(zone), ctx.Recettes[0]->Dossier);

    // Un dossier absent : refusé (Non), la page reste et la zone garde le texte tapé.
    const std::string nouveau = dossier.Chemin() + "\\a\\b";
    SetWindowTextW(zone, VersUtf16(nouveau).c_str());
    ui.reponses = {Reponse::Non};
    Suivant();
    EXPECT_EQ(Courante(), 2);
    EXPECT_EQ(Texte(zone), nouveau);
    ASSERT_EQ(ui.Appels("BoiteMessage").size(), 1u);
    EXPECT_EQ(ui.Appels("BoiteMessage")[0].texte,
              "Le dossier spécifié n’existe pas.\nDésirez-vous le créer ?");
    EXPECT_FALSE(std::filesystem::exists(VersUtf16(nouveau)));

    // Accepté (Oui) : toute la chaîne est créée, rangée avec la barre finale.
    ui.reponses = {Reponse::Oui};
    Suivant();
    EXPECT_TRUE(std::filesystem::is_directory(VersUtf16(nouveau)));
    EXPECT_EQ(ctx.Recettes[0]->Dossier, nouveau + "\\");
    EXPECT_GT(Courante(), 2);
}

TEST_F(PagesWin32, LaFinRendCompteFichierParFichierEtNOffreLeLancementQueSiToutAReussi) {
    struct Cas {
        bool secondReussi;
        const char* resultatEnTete;
        bool lancement;
    };
    for (const Cas c : {Cas{true, "Réussi", true}, Cas{false, "Échec", false}}) {
        ctx.Recettes.clear();
        ctx.Recettes.push_back(Element("A", "premier", 10000));
        ctx.Recettes[0]->Fichiers.push_back(
            std::make_unique<Ingredient>(*ctx.Recettes[0]->Fichiers[0]));
        ctx.Recettes[0]->Fichiers[1]->NomLocal = "second.exe";
        ctx.Recettes[0]->Fichiers[0]->ALancer = true;
        ctx.Recettes[0]->Fichiers[0]->EstReussi = true;
        ctx.Recettes[0]->Fichiers[1]->EstReussi = c.secondReussi;
        ctx.Recettes[0]->Dossier = dossier.Chemin() + "\\";
        ctx.IndiceChoisi = 0;
        Montrer(4);
        const HWND page = terminay.Fenetre(), vue = GetDlgItem(page, IDC_COMPTE_RENDU);
        EXPECT_EQ(GetWindowLongW(vue, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
        ASSERT_EQ(SendMessageW(vue, LVM_GETITEMCOUNT, 0, 0), 2);
        wchar_t texte[MAX_PATH] = {};
        ListView_GetItemText(vue, 0, 0, texte, MAX_PATH);
        EXPECT_EQ(Utf8(texte), "second.exe"); // le dernier fichier en tête
        ListView_GetItemText(vue, 0, 1, texte, MAX_PATH);
        EXPECT_EQ(Utf8(texte), c.resultatEnTete);
        ListView_GetItemText(vue, 1, 1, texte, MAX_PATH);
        EXPECT_EQ(Utf8(texte), "Réussi");
        const HWND lancer = GetDlgItem(page, IDC_LANCER);
        EXPECT_EQ(IsDlgButtonChecked(page, IDC_LANCER) == BST_CHECKED, c.lancement);
        EXPECT_EQ(IsWindowEnabled(lancer) != FALSE, c.lancement);
        EXPECT_EQ(Texte(GetDlgItem(page, IDC_TEXTE_DOSSIER)),
                  "Les fichiers sont sauvegardés dans le dossier :\n" + ctx.Recettes[0]->Dossier);
        EXPECT_EQ(Texte(GetDlgItem(feuille, IDCANCEL)), "Fermer");
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(feuille, IDCANCEL)));
        DestroyWindow(feuille);
        feuille = nullptr;
    }
}

TEST(AccueilAutomatiqueWin32, SansConnexionLeModeDiscretFinitSansRienMontrer) {
    InterfaceEnregistreuse ui;
    ContexteTelechargement ctx(ModeExecution::MajDiscrete, ui);
    DernierAvis avis;
    AvisPlusTard dialogue;
    ModeExecution modeListe = ModeExecution::MajDiscrete;
    PageBienvenue bienvenue(ctx, ModeExecution::MajDiscrete, modeListe, avis, dialogue,
                            [] { return false; });
    EXPECT_EQ(bienvenue.Preparer(), std::nullopt);
    EXPECT_TRUE(ui.Appels().empty());
    // La demande de fin est posée sur la file du fil : la boucle du livret la prendrait.
    MSG message;
    EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(bienvenue.Fenetre(), nullptr); // aucune page n'a été créée
}

} // namespace
} // namespace emporteur::win32::essais::livret
