// Les dialogues du frontal Windows, montrés sans mode et pilotés par messages : le
// mandataire sur le réglage du système, les fins de l'avis et « Ne plus aviser » écrit
// au registre, les règles de l'outil CRC et son calcul.
#include "OutilsDialogues.h"
#include "autocheck/DernierAvis.h"
#include "commun/ContexteTelechargement.h"
#include "download/Crc32.h"
#include "fenetres-win32/IdsDialogues.h"
#include "fenetres-win32/InterfaceWin32.h"
#include "fenetres-win32/MajAutoDialogueChoix.h"
#include "fenetres-win32/ModeAdmin.h"
#include "fenetres-win32/ParametresProxy.h"
#include "foundation/win32/Utf16.h"
#include "outils/DossierTemporaire.h"

#include <gtest/gtest.h>

#include <deque>

namespace emporteur::win32::essais_dialogues {
namespace {

using test::DossierTemporaire;
using test::EcrireFichier;

// Une valeur texte de HKEY_CURRENT_USER posée le temps d'un essai, puis rendue.
class ValeurTemporaire {
  public:
    ValeurTemporaire(const wchar_t* cle, const wchar_t* nom) : cle_(cle), nom_(nom) {
        DWORD octets = sizeof ancienne_;
        avait_ = RegGetValueW(HKEY_CURRENT_USER, cle_, nom_, RRF_RT_REG_SZ, nullptr, ancienne_,
                              &octets) == ERROR_SUCCESS;
    }
    ~ValeurTemporaire() {
        if (avait_)
            Poser(ancienne_);
        else
            RegDeleteKeyValueW(HKEY_CURRENT_USER, cle_, nom_);
    }
    void Poser(const std::wstring& texte) const {
        RegSetKeyValueW(HKEY_CURRENT_USER, cle_, nom_, REG_SZ, texte.c_str(),
                        static_cast<DWORD>((texte.size() + 1) * sizeof(wchar_t)));
    }

  private:
    const wchar_t* cle_;
    const wchar_t* nom_;
    wchar_t ancienne_[1024] = {};
    bool avait_ = false;
};

TEST(ParametresProxyWin32, OuvertSurLeReglageDuSystemeConfirmeParEntree) {
    ValeurTemporaire reglage(L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
                             L"ProxyServer");
    struct Cas {
        const wchar_t* reglage;
        std::string serveur, port;
        std::int32_t portConfirme;
    } cas[] = {
        {L"cache:81", "cache", "81", 81},
        {L"cache", "cache", "", 80},
        {L"http=cache:8080;https=s:443", "http=cache", "8080;https=s:443", 8080},
    };
    for (const Cas& c : cas) {
        reglage.Poser(c.reglage);
        ParametresConnexion parametres;
        ParametresProxy dialogue(parametres);
        const HWND d = dialogue.Creer();
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(dialogue.Texte(IDC_PROXY_SERVEUR), c.serveur);
        EXPECT_EQ(dialogue.Texte(IDC_PROXY_PORT), c.port);
        Touche(d, dialogue.Controle(IDC_PROXY_SERVEUR), VK_RETURN);
        EXPECT_EQ(dialogue.Fin(), IDOK);
        EXPECT_EQ(parametres.Serveur, c.serveur);
        EXPECT_EQ(parametres.Port, c.portConfirme);
    }
}

TEST(ParametresProxyWin32, AnnulerEchapOuLaCaseReviennentASansMandataire) {
    const std::vector<std::function<void(ParametresProxy&)>> fins = {
        [](ParametresProxy& d) { SendMessageW(d.Controle(IDCANCEL), BM_CLICK, 0, 0); },
        [](ParametresProxy& d) { Touche(d.Fenetre(), d.Controle(IDC_PROXY_PORT), VK_ESCAPE); },
        [](ParametresProxy& d) { SendMessageW(d.Fenetre(), WM_CLOSE, 0, 0); },
    };
    for (const auto& fin : fins) {
        ParametresConnexion parametres;
        parametres.Serveur = "cache";
        parametres.Port = 81;
        ParametresProxy dialogue(parametres);
        ASSERT_NE(dialogue.Creer(), nullptr);
        fin(dialogue);
        ASSERT_TRUE(PomperJusqua(dialogue.Fenetre(), [&] { return dialogue.Fin().has_value(); }));
        EXPECT_EQ(dialogue.Fin(), IDCANCEL);
        EXPECT_EQ(parametres.Serveur, "");
        EXPECT_EQ(parametres.Port, 80);
    }
}

class AvisWin32 : public ::testing::Test {
  protected:
    void SetUp() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, kCle);
        ctx.VersionAffichee = "6.0.1";
        ctx.VersionInstallee = "6.0.1.0";
        ctx.ProduitBoutique = "Orthalis 7";
        ctx.MajeurBoutique = 7;
        auto r = std::make_unique<Recette>();
        r->Produit = "Orthalis 6.0.2";
        r->VersionMaj = "6.0.2";
        ctx.Recettes.push_back(std::move(r));
    }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kCle); }
    static std::string Lire(const wchar_t* nom) {
        wchar_t texte[64] = {};
        DWORD octets = sizeof texte;
        if (RegGetValueW(HKEY_CURRENT_USER, kCle, nom, RRF_RT_REG_SZ, nullptr, texte, &octets) !=
            ERROR_SUCCESS)
            return "(absente)";
        return DepuisUtf16(texte);
    }
    static constexpr const wchar_t* kCle = L"Software\\Mervane\\Orthalis\\6.0\\Telechargement";
    InterfaceWin32 ui;
    ContexteTelechargement ctx{ModeExecution::MajDiscrete, ui};
};

TEST_F(AvisWin32, TroisReponsesEtPlusTardPourEchapEntreeEtLaFermetureDuSysteme) {
    struct Cas {
        const char* quoi;
        std::function<void(MajAutoDialogueChoix&)> agir;
        FinAvis fin;
    } cas[] = {
        {"Mise à niveau",
         [](MajAutoDialogueChoix& d) {
             SendMessageW(d.Controle(IDC_AVIS_MISE_A_NIVEAU), BM_CLICK, 0, 0);
         },
         FinAvis::MiseANiveau},
        {"Mise à jour",
         [](MajAutoDialogueChoix& d) {
             SendMessageW(d.Controle(IDC_AVIS_MISE_A_JOUR), BM_CLICK, 0, 0);
         },
         FinAvis::MiseAJour},
        {"Plus tard",
         [](MajAutoDialogueChoix& d) {
             SendMessageW(d.Controle(IDC_AVIS_PLUS_TARD), BM_CLICK, 0, 0);
         },
         FinAvis::PlusTard},
        {"Échap",
         [](MajAutoDialogueChoix& d) {
             Touche(d.Fenetre(), d.Controle(IDC_AVIS_NE_PLUS_AVISER), VK_ESCAPE);
         },
         FinAvis::PlusTard},
        {"Entrée", [](MajAutoDialogueChoix& d) { Touche(d.Fenetre(), GetFocus(), VK_RETURN); },
         FinAvis::PlusTard},
        {"fermeture", [](MajAutoDialogueChoix& d) { SendMessageW(d.Fenetre(), WM_CLOSE, 0, 0); },
         FinAvis::PlusTard},
    };
    for (const Cas& c : cas) {
        MajAutoDialogueChoix avis(ctx, true, true, ModeExecution::MajDiscrete);
        const HWND d = avis.Creer();
        ASSERT_NE(d, nullptr);
        EXPECT_FALSE(GetWindowLongW(d, GWL_STYLE) & WS_SYSMENU) << "pas de case de fermeture";
        EXPECT_EQ(TexteDe(d), "Emporteur");
        EXPECT_EQ(avis.Texte(IDC_AVIS_VERSION), "Vous utilisez 6.0.1.");
        EXPECT_EQ(avis.Texte(IDC_AVIS_QUESTION),
                  "Souhaitez-vous télécharger la mise à jour à Orthalis 6.0.2 ?\n"
                  "Souhaitez-vous acheter la mise à niveau à Orthalis 7 ?");
        EXPECT_EQ(avis.Texte(IDC_AVIS_PLUS_TARD), "Plus tard");
        EXPECT_TRUE(Actif(d, IDC_AVIS_MISE_A_NIVEAU) && Actif(d, IDC_AVIS_MISE_A_JOUR));
        EXPECT_TRUE(Visible(d, IDC_AVIS_NE_PLUS_AVISER));
        c.agir(avis);
        ASSERT_TRUE(PomperJusqua(d, [&] { return avis.Fin().has_value(); })) << c.quoi;
        EXPECT_EQ(avis.Fin(), static_cast<INT_PTR>(c.fin)) << c.quoi;
    }
    EXPECT_FALSE(ctx.NePlusAviser);
}

TEST_F(AvisWin32, MiseANiveauSeuleEnModeAvecInvite) {
    ctx.IndiceChoisi = -1;
    MajAutoDialogueChoix avis(ctx, false, true, ModeExecution::MajPlusMan);
    const HWND d = avis.Creer();
    ASSERT_NE(d, nullptr);
    EXPECT_FALSE(Actif(d, IDC_AVIS_MISE_A_JOUR));
    EXPECT_TRUE(Actif(d, IDC_AVIS_MISE_A_NIVEAU));
    EXPECT_FALSE(Visible(d, IDC_AVIS_NE_PLUS_AVISER));
    EXPECT_EQ(avis.Texte(IDC_AVIS_QUESTION),
              "Souhaitez-vous acheter la mise à niveau à Orthalis 7 ?");
}

TEST_F(AvisWin32, NePlusAviserChangeLeBoutonEtSEcritAuRegistre) {
    DernierAvis dernier; // le démarrage : trois valeurs vides créées
    EXPECT_EQ(Lire(L"MAJ"), "");
    MajAutoDialogueChoix avis(ctx, true, false, ModeExecution::MajDiscrete);
    const HWND d = avis.Creer();
    ASSERT_NE(d, nullptr);
    const HWND c = avis.Controle(IDC_AVIS_NE_PLUS_AVISER);
    for (const auto& [coche, libelle] : std::vector<std::pair<bool, std::string>>{
             {true, "OK"}, {false, "Plus tard"}, {true, "OK"}}) {
        SendMessageW(c, BM_CLICK, 0, 0);
        EXPECT_EQ(avis.Texte(IDC_AVIS_PLUS_TARD), libelle);
        EXPECT_EQ(ctx.NePlusAviser, coche);
    }
    EXPECT_FALSE(Actif(d, IDC_AVIS_MISE_A_NIVEAU));
    SendMessageW(avis.Controle(IDC_AVIS_PLUS_TARD), BM_CLICK, 0, 0);
    ASSERT_EQ(avis.Fin(), static_cast<INT_PTR>(FinAvis::PlusTard));
    // Ce que fait l'accueil d'une fin « Plus tard » quand la case est cochée.
    ASSERT_TRUE(ctx.NePlusAviser);
    NoterAvis(ctx, dernier);
    EXPECT_EQ(Lire(L"MAJ"), "6.0.2");
    EXPECT_EQ(Lire(L"MAN"), "7");
    EXPECT_EQ(Lire(L"DerniereVerification"), "");
}

class ModeAdminWin32 : public ::testing::Test {
  protected:
    // Le choix de fichier de l'outil rend, dans l'ordre, les réponses préparées.
    ModeAdmin::ChoixFichier Choix() {
        return [this](HWND) {
            auto r = reponses.front();
            reponses.pop_front();
            return r;
        };
    }
    void Taille(ModeAdmin& outil, const wchar_t* texte) {
        SetDlgItemTextW(outil.Fenetre(), IDC_CRC_TAILLE, texte); // EN_CHANGE
    }
    void Parcourir(ModeAdmin& outil) {
        SendMessageW(outil.Controle(IDC_CRC_PARCOURIR), BM_CLICK, 0, 0);
    }
    bool Calculer(ModeAdmin& outil) {
        SendMessageW(outil.Controle(IDC_CRC_CALCULER), BM_CLICK, 0, 0);
        return PomperJusqua(outil.Fenetre(), [&] { return !outil.Texte(IDC_CRC_TOTAL).empty(); });
    }
    DossierTemporaire dossier;
    std::deque<std::optional<std::string>> reponses;
};

TEST_F(ModeAdminWin32, CalculerDisponibleSelonLaTailleEtLeFichier) {
    const std::string fichier = dossier / "a.bin";
    EcrireFichier(fichier, "0123456789");
    struct Etape {
        const wchar_t* taille; // nul : un choix de fichier à la place
        std::optional<std::string> choix;
        bool calculer;
    };
    const std::vector<std::vector<Etape>> suites = {
        {{L"4", {}, false}, {nullptr, fichier, true}},
        {{nullptr, fichier, false}, {L"1000", {}, true}, {L"", {}, true}},
        {{nullptr, fichier, false}, {L"12abc", {}, true}, {L"abc", {}, false}, {L"-5", {}, true}},
        {{L"8", {}, false}, {nullptr, fichier, true}, {nullptr, std::nullopt, false}},
    };
    for (const auto& suite : suites) {
        ModeAdmin outil(Choix());
        ASSERT_NE(outil.Creer(), nullptr);
        EXPECT_FALSE(Actif(outil.Fenetre(), IDC_CRC_CALCULER));
        for (const Etape& e : suite) {
            if (e.taille) {
                Taille(outil, e.taille);
            } else {
                reponses.push_back(e.choix);
                Parcourir(outil);
            }
            EXPECT_EQ(Actif(outil.Fenetre(), IDC_CRC_CALCULER), e.calculer)
                << (e.taille ? DepuisUtf16(e.taille) : e.choix.value_or("(renoncé)"));
        }
        // Un choix abandonné laisse le chemin montré.
        EXPECT_EQ(outil.Texte(IDC_CRC_FICHIER), fichier);
    }
}

TEST_F(ModeAdminWin32, LaListeEstCelleDesSegmentsEtLaTailleTotale) {
    const std::string contenu = "0123456789";
    const std::string fichier = dossier / "dix.bin";
    EcrireFichier(fichier, contenu);
    const auto crc = [&](std::size_t debut, std::size_t n) {
        return std::to_string(Crc32(0, contenu.data() + debut, n));
    };
    struct Cas {
        const wchar_t* taille;
        std::string liste;
    } cas[] = {
        {L"4", crc(0, 4) + " " + crc(4, 4) + " " + crc(8, 2)},
        {L"10", crc(0, 10)},
        {L"1000", crc(0, 10)},
    };
    for (const Cas& c : cas) {
        ModeAdmin outil(Choix());
        ASSERT_NE(outil.Creer(), nullptr);
        reponses.push_back(fichier);
        Parcourir(outil);
        Taille(outil, c.taille);
        ASSERT_TRUE(Calculer(outil));
        EXPECT_EQ(outil.Texte(IDC_CRC_LISTE), c.liste);
        EXPECT_EQ(outil.Texte(IDC_CRC_TOTAL), "10");
        EXPECT_TRUE(Actif(outil.Fenetre(), IDC_CRC_CALCULER));
    }
}

TEST_F(ModeAdminWin32, FichierVideEtTermineFerment) {
    const std::string vide = dossier / "vide.bin";
    EcrireFichier(vide, "");
    ModeAdmin outil(Choix());
    ASSERT_NE(outil.Creer(), nullptr);
    reponses.push_back(vide);
    Parcourir(outil);
    Taille(outil, L"4");
    ASSERT_TRUE(Calculer(outil));
    // Le zéro, puis la raison pour laquelle le téléchargement refuserait la liste, en
    // lignes Windows.
    EXPECT_EQ(outil.Texte(IDC_CRC_LISTE).rfind("0\r\n\r\nAttention : ", 0), 0u)
        << outil.Texte(IDC_CRC_LISTE);
    EXPECT_EQ(outil.Texte(IDC_CRC_TOTAL), "0");
    // Terminé pendant un calcul l'arrête et ferme l'outil.
    const std::string gros = dossier / "gros.bin";
    EcrireFichier(gros, std::string(32 << 20, 'x'));
    reponses.push_back(gros);
    Parcourir(outil);
    SendMessageW(outil.Controle(IDC_CRC_CALCULER), BM_CLICK, 0, 0);
    SendMessageW(outil.Controle(IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_EQ(outil.Fin(), IDCANCEL);
    EXPECT_FALSE(outil.CalculEnCours());
}

} // namespace
} // namespace emporteur::win32::essais_dialogues
