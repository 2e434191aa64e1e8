// Le vrai registre de Windows derrière Registre.h et CleRegistre.h : textes UTF-8 à
// l'intérieur, UTF-16 dans le registre, et d'un processus à l'autre.
#include "ProcessusEnfant.h"

#include "foundation/CleRegistre.h"
#include "foundation/win32/Utf16.h"
#include "outils/DossierTemporaire.h"

#include <gtest/gtest.h>
#include <string>
#include <windows.h>

namespace emporteur {
namespace {

using namespace std::string_literals;

constexpr const char* kCle = "Software\\Mervane\\Orthalis\\6.0\\Telechargement";
const std::string kTexte = "Élodie — 6.1 ✓";
const std::string kChemin = "%USERPROFILE%\\Téléchargements";
constexpr std::uint32_t kNombre = 0x01020304;

// Clé du vrai HKEY_CURRENT_USER propre à un test, effacée avec tout ce qu'elle contient.
class CleEphemere {
  public:
    CleEphemere()
        : chemin_("Software\\Emporteur-tests\\enfant-" + std::to_string(GetCurrentProcessId())) {}
    ~CleEphemere() {
        RegDeleteTreeW(HKEY_CURRENT_USER, VersUtf16(chemin_).c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Emporteur-tests"); // seulement si vide
    }
    const std::string& Chemin() const { return chemin_; }

  private:
    std::string chemin_;
};

bool CleExiste(HKEY ruche, const std::wstring& chemin) {
    HKEY cle = nullptr;
    if (RegOpenKeyExW(ruche, chemin.c_str(), 0, KEY_READ, &cle) != ERROR_SUCCESS) return false;
    RegCloseKey(cle);
    return true;
}

// Octets tels que Windows les garde, lus sans passer par le noyau.
std::wstring LireUtf16Brut(const CleEphemere& cle, const wchar_t* nom, DWORD& type) {
    wchar_t tampon[256] = {};
    DWORD taille = sizeof tampon;
    RegGetValueW(HKEY_CURRENT_USER, VersUtf16(cle.Chemin()).c_str(), nom, RRF_RT_ANY, &type, tampon,
                 &taille);
    return std::wstring(tampon, taille / sizeof(wchar_t));
}

TEST(RegistreWin32, AllerRetourEntreDeuxProcessus) {
    CleEphemere ephemere;
    CleOuverte cle;
    ASSERT_EQ(CreerCle(HKEY_CURRENT_USER, ephemere.Chemin(), KEY_READ | KEY_WRITE, cle), 0);
    ASSERT_EQ(cle.EcrireTexte("Texte", kTexte), 0);
    ASSERT_EQ(cle.EcrireValeur("Chemin", REG_EXPAND_SZ, kChemin.c_str(),
                               static_cast<std::uint32_t>(kChemin.size() + 1)),
              0);
    ASSERT_EQ(cle.EcrireDword("Nombre", kNombre), 0);

    // Dans le registre, les textes sont de l'UTF-16 zéro final compris.
    DWORD type = 0;
    EXPECT_EQ(LireUtf16Brut(ephemere, L"Texte", type), VersUtf16(kTexte) + L'\0');
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));

    ASSERT_EQ(test::LancerEnfant("EnfantWin32.Registre", ephemere.Chemin()), 0);

    // L'enfant a relu les trois valeurs et répondu.
    std::string reponse;
    EXPECT_EQ(CleRegistre(std::move(cle)).LireTexte("Reponse", reponse), 0);
    EXPECT_EQ(reponse, "reçu : " + kTexte);
    CleOuverte relue;
    ASSERT_EQ(OuvrirCle(HKEY_CURRENT_USER, ephemere.Chemin(), KEY_READ, relue), 0);
    std::uint32_t double_ = 0;
    EXPECT_EQ(relue.LireDword("Double", double_), 0);
    EXPECT_EQ(double_, 2 * kNombre);
}

TEST(EnfantWin32, Registre) {
    const std::string chemin = test::Consigne();
    if (chemin.empty()) GTEST_SKIP() << "joué seulement dans le processus enfant";
    CleRegistre cle;
    ASSERT_EQ(cle.OuvrirCle(HKEY_CURRENT_USER, chemin, KEY_READ), 0);
    std::string texte, developpe;
    EXPECT_EQ(cle.LireTexte("TEXTE", texte), 0); // noms sans casse
    EXPECT_EQ(texte, kTexte);
    EXPECT_EQ(cle.LireTexte("Chemin", developpe), 0);
    EXPECT_EQ(developpe, kChemin); // REG_EXPAND_SZ rendu tel quel, non développé
    std::uint32_t nombre = 0;
    EXPECT_EQ(cle.Cle().LireDword("Nombre", nombre), 0);
    EXPECT_EQ(nombre, kNombre);

    CleOuverte ecriture;
    ASSERT_EQ(OuvrirCle(HKEY_CURRENT_USER, chemin, KEY_WRITE, ecriture), 0);
    EXPECT_EQ(ecriture.EcrireTexte("Reponse", "reçu : " + texte), 0);
    EXPECT_EQ(ecriture.EcrireDword("Double", 2 * nombre), 0);
}

TEST(RegistreWin32, UnTexteRendLesOctetsUtf8ZeroFinalCompris) {
    test::EnvironnementIsole env;
    CleOuverte cle;
    ASSERT_EQ(CreerCle(HKEY_CURRENT_USER, kCle, KEY_READ | KEY_WRITE, cle), 0);
    const struct {
        const char* nom;
        std::string octets; // tels qu'écrits, et rendus
    } cas[] = {
        {"Ascii", "6.1.0.12\0"s},
        {"Accents", "C:\\Users\\Élodie\0"s},
        {"HorsBmp", "\xF0\x9F\x93\xA6 colis\0"s},
        {"ZeroInterieur", "ab\0cd\0"s},
        {"Vide", ""s},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        ASSERT_EQ(cle.EcrireValeur(c.nom, REG_SZ, c.octets.data(),
                                   static_cast<std::uint32_t>(c.octets.size())),
                  0);
        std::uint32_t type = REG_NONE, taille = 0;
        EXPECT_EQ(cle.LireValeur(c.nom, &type, nullptr, &taille), 0); // taille seule
        EXPECT_EQ(taille, c.octets.size());
        std::string lu(64, 'x');
        taille = static_cast<std::uint32_t>(lu.size());
        EXPECT_EQ(cle.LireValeur(c.nom, &type, lu.data(), &taille), 0);
        EXPECT_EQ(type, static_cast<std::uint32_t>(REG_SZ));
        EXPECT_EQ(lu.substr(0, taille), c.octets);
    }
    // Un texte écrit sans zéro final par un autre programme (Windows n'en ajoute un que
    // si le mot suivant en mémoire est nul) : rendu tel quel, refusé par CleRegistre.
    const wchar_t brut[] = L"abcX";
    HKEY systeme = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, VersUtf16(kCle).c_str(), 0, KEY_WRITE, &systeme), 0);
    ASSERT_EQ(RegSetValueExW(systeme, L"SansZero", 0, REG_SZ, reinterpret_cast<const BYTE*>(brut),
                             3 * sizeof(wchar_t)),
              0);
    RegCloseKey(systeme);
    char tampon[8];
    std::uint32_t taille = sizeof tampon;
    EXPECT_EQ(cle.LireValeur("SansZero", nullptr, tampon, &taille), 0);
    EXPECT_EQ(std::string(tampon, taille), "abc");
    taille = sizeof tampon;
    EXPECT_EQ(CleRegistre(std::move(cle)).LireTexte("SansZero", tampon, taille),
              ERROR_INVALID_DATA);
}

TEST(RegistreWin32, ManqueDePlaceAbsencesEtTypes) {
    test::EnvironnementIsole env;
    CleOuverte ecriture;
    ASSERT_EQ(CreerCle(HKEY_CURRENT_USER, kCle, KEY_WRITE, ecriture), 0);
    ASSERT_EQ(ecriture.EcrireTexte("MAJ", "Éé"), 0); // 5 octets en UTF-8, 6 en UTF-16
    ASSERT_EQ(ecriture.EcrireDword("SilForcay", 1), 0);

    CleRegistre cle;
    ASSERT_EQ(cle.OuvrirCle(HKEY_CURRENT_USER, kCle), 0);
    char tampon[8];
    const struct {
        std::string nom;
        std::uint32_t capacite;
        CodeWin32 attendu;
        std::uint32_t taille; // rendue
    } cas[] = {
        {"MAJ", 5, ERROR_SUCCESS, 5},   // la taille compte l'UTF-8
        {"MAJ", 4, ERROR_MORE_DATA, 0}, // un octet de moins
        {"maj", 8, ERROR_SUCCESS, 5},   // nom sans casse
        {"SilForcay", 8, ERROR_INVALID_DATA, 0},
        {"Absente", 8, ERROR_FILE_NOT_FOUND, 0},
        {std::string("M\0AJ", 4), 8, ERROR_FILE_NOT_FOUND, 0}, // jamais coupé en "M"
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom + " dans " + std::to_string(c.capacite));
        std::uint32_t taille = c.capacite;
        EXPECT_EQ(cle.LireTexte(c.nom, tampon, taille), c.attendu);
        EXPECT_EQ(taille, c.taille);
    }
    // Sous le niveau de CleRegistre, le manque de place rend la taille nécessaire.
    std::uint32_t taille = 4;
    EXPECT_EQ(cle.Cle().LireValeur("MAJ", nullptr, tampon, &taille), ERROR_MORE_DATA);
    EXPECT_EQ(taille, 5u);
    std::uint32_t valeur = 0;
    EXPECT_EQ(cle.Cle().LireDword("MAJ", valeur), ERROR_INVALID_DATA);
}

TEST(RegistreWin32, ClesAbsentesDroitsEtRucheMachine) {
    test::EnvironnementIsole env;
    CleOuverte creee;
    ASSERT_EQ(CreerCle(HKEY_CURRENT_USER, kCle, KEY_WRITE, creee), 0);
    CleRegistre cle;
    ASSERT_EQ(cle.OuvrirCle(HKEY_CURRENT_USER, kCle), 0);
    EXPECT_EQ(cle.OuvrirCle(HKEY_CURRENT_USER, "Software\\Absente"), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(cle.Detenue()); // l'échec garde la clé détenue

    CleOuverte lecture, refus;
    ASSERT_EQ(OuvrirCle(HKEY_CURRENT_USER, kCle, KEY_READ, lecture), 0);
    EXPECT_EQ(lecture.EcrireTexte("MAJ", "x"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(lecture.Fermer(), ERROR_SUCCESS);
    EXPECT_EQ(lecture.Fermer(), ERROR_INVALID_HANDLE);
    // La ruche de la machine ne s'ouvre qu'en lecture.
    EXPECT_EQ(OuvrirCle(HKEY_LOCAL_MACHINE, "SOFTWARE", KEY_READ | KEY_WRITE, refus),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(CreerCle(HKEY_LOCAL_MACHINE, "SOFTWARE\\Nouvelle", KEY_WRITE, refus),
              ERROR_ACCESS_DENIED);
    EXPECT_FALSE(refus.Ouverte());
    EXPECT_EQ(OuvrirCle(HKEY_CURRENT_USER, std::string("Software\0x", 10), KEY_READ, refus),
              ERROR_BAD_PATHNAME);
}

TEST(RegistreWin32, LaRucheMachineSeLitDansLaVue32BitsCommeLeProduit) {
    // L'installateur 32 bits du produit écrit sous SOFTWARE dans la vue 32 bits ; reg.exe
    // joue son rôle, dans un autre processus.
    const std::string cle = "SOFTWARE\\Emporteur-tests-" + std::to_string(GetCurrentProcessId());
    struct Effaceur {
        std::wstring cle;
        ~Effaceur() { RegDeleteKeyExW(HKEY_LOCAL_MACHINE, cle.c_str(), KEY_WOW64_32KEY, 0); }
    } effaceur{VersUtf16(cle)};
    ASSERT_EQ(test::LancerCommande("reg.exe add HKLM\\" + cle +
                                   " /v DossierOrthalis /d C:\\Orthalis /reg:32 /f"),
              0);

    CleRegistre lue;
    ASSERT_EQ(lue.OuvrirCle(HKEY_LOCAL_MACHINE, cle), 0);
    std::string dossier;
    EXPECT_EQ(lue.LireTexte("DossierOrthalis", dossier), 0);
    EXPECT_EQ(dossier, "C:\\Orthalis");
    HKEY vue64 = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, VersUtf16(cle).c_str(), 0,
                            KEY_READ | KEY_WOW64_64KEY, &vue64),
              ERROR_FILE_NOT_FOUND);
}

TEST(RegistreWin32, LIsolementDesTestsNeLaisseAucuneCle) {
    const std::string propre =
        "Software\\Mervane\\Isolement-" + std::to_string(GetCurrentProcessId());
    {
        test::EnvironnementIsole env;
        for (Ruche ruche : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
            // Sous l'isolement, la ruche de la machine s'écrit aussi (par l'API du système).
            HKEY cle = nullptr;
            ASSERT_EQ(RegCreateKeyExW(ruche, VersUtf16(propre).c_str(), 0, nullptr, 0, KEY_WRITE,
                                      nullptr, &cle, nullptr),
                      0);
            RegCloseKey(cle);
            CleOuverte lue;
            EXPECT_EQ(OuvrirCle(ruche, propre, KEY_READ, lue), 0);
        }
    }
    for (Ruche ruche : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
        EXPECT_FALSE(CleExiste(ruche, VersUtf16(propre)));
    EXPECT_FALSE(CleExiste(HKEY_CURRENT_USER, L"Software\\Emporteur-tests"));
}

} // namespace
} // namespace emporteur
