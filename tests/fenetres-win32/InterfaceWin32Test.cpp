// L'interface utilisateur du frontal Windows : une question du fil de travail posée
// sur le fil de l'interface (boîte et identifiants), refusée pendant une annulation,
// le premier plan par titre, l'ouverture qui échoue, la fin demandée par le noyau.
#include "fenetres-win32/InterfaceWin32.h"
#include "OutilsDialogues.h"
#include "fenetres-win32/IdsDialogues.h"
#include "foundation/win32/Utf16.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>

namespace emporteur::win32::essais_dialogues {
namespace {

// Une action répétée par une minuterie du fil : elle tourne aussi dans la boucle
// modale d'une boîte, là où l'essai ne reprend pas la main.
std::function<bool()> gAction;
void CALLBACK Minuterie(HWND, UINT, UINT_PTR, DWORD) {
    if (gAction && gAction()) gAction = nullptr;
}

class InterfaceUtilisateurWin32 : public ::testing::Test {
  protected:
    void SetUp() override { minuterie_ = SetTimer(nullptr, 0, 30, Minuterie); }
    void TearDown() override {
        KillTimer(nullptr, minuterie_);
        gAction = nullptr;
    }
    // Pose `question` d'un fil de travail et sert le fil de l'interface jusqu'à sa fin.
    bool PoserDuFilDeTravail(const std::function<void()>& question) {
        std::atomic<bool> fini{false};
        std::thread travail([&] {
            question();
            fini = true;
        });
        const bool ok = PomperJusqua(nullptr, [&] { return fini.load(); });
        if (!ok) ui.RefuserQuestionsEnAttente();
        travail.join();
        return ok;
    }
    const DWORD fil = GetCurrentThreadId();
    InterfaceWin32 ui;
    UINT_PTR minuterie_ = 0;
};

// Les textes des enfants d'une fenêtre, et si l'une montre une icône.
std::vector<std::string> TextesEnfants(HWND fenetre, bool& icone) {
    std::vector<std::string> textes;
    icone = false;
    for (HWND e = GetWindow(fenetre, GW_CHILD); e; e = GetWindow(e, GW_HWNDNEXT)) {
        textes.push_back(TexteDe(e));
        wchar_t classe[16] = {};
        GetClassNameW(e, classe, 16);
        if (_wcsicmp(classe, L"Static") == 0 && (GetWindowLongW(e, GWL_STYLE) & SS_ICON) &&
            IsWindowVisible(e) && SendMessageW(e, STM_GETICON, 0, 0) != 0)
            icone = true;
    }
    return textes;
}

TEST_F(InterfaceUtilisateurWin32, LaBoiteDuFilDeTravailSAfficheSurLeFilDeLInterface) {
    struct Cas {
        unsigned style;
        int bouton; // pressé
        Reponse attendue;
        bool icone;
    } cas[] = {
        {MB_YESNO | MB_ICONQUESTION, IDNO, Reponse::Non, true},
        {MB_OKCANCEL, IDCANCEL, Reponse::Annuler, false},
        {MB_OK | MB_ICONHAND, IDOK, Reponse::Ok, true},
    };
    for (const Cas& c : cas) {
        std::vector<std::string> textes;
        bool icone = false;
        gAction = [&] {
            const HWND boite = DialogueDuFil(fil, "Emporteur");
            if (!boite) return false;
            textes = TextesEnfants(boite, icone);
            EXPECT_NE(GetDlgItem(boite, c.bouton), nullptr) << c.style;
            PostMessageW(boite, WM_COMMAND, c.bouton, 0);
            return true;
        };
        Reponse r{};
        ASSERT_TRUE(PoserDuFilDeTravail([&] {
            r = ui.BoiteMessage("Le dossier spécifié n’existe pas.", "Emporteur", c.style);
        }));
        EXPECT_EQ(r, c.attendue) << c.style;
        EXPECT_EQ(icone, c.icone) << c.style;
        EXPECT_NE(std::find(textes.begin(), textes.end(), "Le dossier spécifié n’existe pas."),
                  textes.end());
    }
}

TEST_F(InterfaceUtilisateurWin32, LesIdentifiantsDuFilDeTravailSontDemandesSurLeFilDeLInterface) {
    struct Cas {
        bool mandataire;
        std::string invite;
        bool adresseVisible;
        int bouton;
        bool accepte;
    } cas[] = {
        {false, "Le serveur demande une authentification :", true, IDOK, true},
        {true, "Le serveur proxy demande une authentification.", false, IDOK, true},
        {false, "Le serveur demande une authentification :", true, IDCANCEL, false},
    };
    for (const Cas& c : cas) {
        std::string invite, adresse;
        bool adresseVisible = false;
        gAction = [&] {
            const HWND d = DialogueDuFil(fil, "Emporteur");
            if (!d) return false;
            invite = TexteDe(GetDlgItem(d, IDC_IDENT_INVITE));
            adresse = TexteDe(GetDlgItem(d, IDC_IDENT_ADRESSE));
            adresseVisible = Visible(d, IDC_IDENT_ADRESSE);
            SetDlgItemTextW(d, IDC_IDENT_UTILISATEUR, L"léa");
            SetDlgItemTextW(d, IDC_IDENT_MOT_DE_PASSE, L"sécret");
            PostMessageW(d, WM_COMMAND, c.bouton, 0);
            return true;
        };
        bool accepte = !c.accepte;
        std::string utilisateur, motDePasse;
        ASSERT_TRUE(PoserDuFilDeTravail([&] {
            accepte = ui.DemanderIdentifiants("http://serveur/très/long/chemin/fichier.exe",
                                              c.mandataire, utilisateur, motDePasse);
        }));
        EXPECT_EQ(accepte, c.accepte);
        EXPECT_EQ(invite, c.invite);
        EXPECT_EQ(adresseVisible, c.adresseVisible);
        if (!c.mandataire) {
            EXPECT_EQ(adresse, "http://serveur/très/long/chemin/fichier.exe");
        }
        EXPECT_EQ(utilisateur, c.accepte ? "léa" : "");
        EXPECT_EQ(motDePasse, c.accepte ? "sécret" : "");
    }
}

TEST_F(InterfaceUtilisateurWin32, UneQuestionRefuseePendantLAnnulationNeMontreRien) {
    std::atomic<bool> fini{false};
    Reponse r{};
    std::thread travail([&] {
        r = ui.BoiteMessage("Jamais montrée", "Emporteur", MB_YESNO);
        fini = true;
    });
    // Le fil de l'interface, pris par l'annulation, ne sert pas sa boucle : il refuse.
    while (!fini)
        ui.RefuserQuestionsEnAttente();
    travail.join();
    EXPECT_EQ(r, Reponse::Annuler);
    bool montree = false;
    gAction = [&] { return montree = DialogueDuFil(fil, "Emporteur") != nullptr; };
    Pomper(nullptr);
    Sleep(100);
    Pomper(nullptr);
    EXPECT_FALSE(montree);
}

TEST_F(InterfaceUtilisateurWin32, PremierPlanParTitreExact) {
    const HWND cible =
        CreateWindowExW(0, L"Static", L"Mise à jour d'Orthalis", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                        10, 10, 200, 80, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(cible, nullptr);
    Pomper(nullptr);
    for (const auto& [titre, trouve] : std::vector<std::pair<std::string, bool>>{
             {"Mise à jour d'Orthalis", true},
             {"Mise à jour d’Orthalis", false}, // l'autre apostrophe
             {"Mise à jour", false}})
        EXPECT_EQ(ui.MettreAuPremierPlan(titre), trouve) << titre;
    DestroyWindow(cible);
}

// La zone d'édition d'un dialogue, à quelque profondeur qu'elle soit.
HWND PremiereZone(HWND dialogue) {
    HWND trouvee = nullptr;
    EnumChildWindows(
        dialogue,
        [](HWND f, LPARAM l) -> BOOL {
            wchar_t classe[16] = {};
            GetClassNameW(f, classe, 16);
            if (_wcsicmp(classe, L"Edit") != 0 || !IsWindowVisible(f)) return TRUE;
            *reinterpret_cast<HWND*>(l) = f;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&trouvee));
    return trouvee;
}

TEST_F(InterfaceUtilisateurWin32, LeDossierSeChoisitDansLeDialogueDuShell) {
    wchar_t temporaire[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temporaire);
    std::wstring dossier = temporaire;
    dossier += L"choix-é";
    CreateDirectoryW(dossier.c_str(), nullptr);
    for (const int bouton : {IDOK, IDCANCEL}) {
        gAction = [&] {
            const HWND d = DialogueDuFil(fil, "Choisissez l’emplacement de sauvegarde :");
            const HWND zone = d ? PremiereZone(d) : nullptr;
            if (!zone) return false;
            SetWindowTextW(zone, dossier.c_str());
            PostMessageW(d, WM_COMMAND, bouton, 0);
            return true;
        };
        std::string chemin = "C:\\windows";
        const bool choisi = ui.ChoisirDossier("Choisissez l’emplacement de sauvegarde :", chemin);
        EXPECT_EQ(choisi, bouton == IDOK);
        EXPECT_EQ(chemin, bouton == IDOK ? DepuisUtf16(dossier) : "C:\\windows");
    }
    RemoveDirectoryW(dossier.c_str());
}

TEST_F(InterfaceUtilisateurWin32, OuvrirCeQuiNExistePasEchoue) {
    EXPECT_FALSE(ui.Ouvrir("C:\\nulle-part\\absent-é.exe"));
}

TEST_F(InterfaceUtilisateurWin32, LaFinDemandeeFermeOuQuitteSurLeFilDeLInterface) {
    ui.TerminerProcessus(4); // sans fin fixée : WM_QUIT
    MSG m;
    ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(m.wParam, 4u);
    DWORD filDeLaFin = 0;
    ui.FixerFin([&] { filDeLaFin = GetCurrentThreadId(); });
    ASSERT_TRUE(PoserDuFilDeTravail([&] { ui.TerminerProcessus(7); }));
    EXPECT_EQ(filDeLaFin, fil);
    EXPECT_EQ(ui.CodeDeFin(), 7);
}

} // namespace
} // namespace emporteur::win32::essais_dialogues
