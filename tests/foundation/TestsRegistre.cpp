#include "foundation/Registre.h"
#include "outils/DossierTemporaire.h"
#include "outils/RegistreMachine.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

namespace emporteur {
namespace {

namespace fs = std::filesystem;
constexpr const char* kCle = "Software\\Mervane\\Orthalis\\6.0\\Telechargement";

class Registre : public ::testing::Test {
  protected:
    std::string FichierUtilisateur() const {
        return env.ConfigUtilisateur() + "/Mervane/registre.sqlite";
    }

    // Octets et type d'une valeur, lus par l'interface publique.
    std::string Octets(const std::string& cle, const std::string& nom, std::uint32_t& type) {
        CleOuverte ouverte;
        EXPECT_EQ(OuvrirCle(HKEY_CURRENT_USER, cle, KEY_READ, ouverte), ERROR_SUCCESS);
        std::uint32_t taille = 0;
        EXPECT_EQ(ouverte.LireValeur(nom, &type, nullptr, &taille), ERROR_SUCCESS);
        std::string octets(taille, '\0');
        EXPECT_EQ(ouverte.LireValeur(nom, &type, octets.data(), &taille), ERROR_SUCCESS);
        return octets;
    }

    test::EnvironnementIsole env;
};

TEST_F(Registre, CreerUneCleCreeSesParentesQuiExistentSansValeur) {
    CleOuverte cle;
    ASSERT_EQ(CreerCle(HKEY_CURRENT_USER, kCle, KEY_READ | KEY_WRITE, cle), ERROR_SUCCESS);
    EXPECT_TRUE(cle.Ouverte());
    EXPECT_TRUE(fs::exists(FichierUtilisateur()));

    CleOuverte parente;
    EXPECT_EQ(OuvrirCle(HKEY_CURRENT_USER, "Software\\Mervane\\Orthalis", KEY_READ, parente),
              ERROR_SUCCESS);
    EXPECT_EQ(parente.LireValeur("MAJ", nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
    CleOuverte absente;
    EXPECT_EQ(OuvrirCle(HKEY_CURRENT_USER, "Software\\Autre", KEY_READ, absente),
              ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(absente.Ouverte());
    // Un "\" final est toléré ; un élément vide ou un "\" initial ne le sont pas.
    EXPECT_EQ(OuvrirCle(HKEY_CURRENT_USER, "Software\\Mervane\\", KEY_READ, absente), 0);
    EXPECT_EQ(OuvrirCle(HKEY_CURRENT_USER, "Software\\\\Mervane", KEY_READ, absente),
              ERROR_BAD_PATHNAME);
    EXPECT_EQ(CreerCle(HKEY_CURRENT_USER, "\\Software", KEY_WRITE, absente), ERROR_BAD_PATHNAME);
}

TEST_F(Registre, LesNomsSeComparentSansCasseEtGardentLeurGraphie) {
    CleOuverte cle;
    ASSERT_EQ(CreerCle(HKEY_CURRENT_USER, "Software\\Mervane\\Éditions", KEY_WRITE, cle), 0);
    ASSERT_EQ(cle.EcrireTexte("Serveur", "cache"), ERROR_SUCCESS);
    ASSERT_EQ(cle.EcrireTexte("SERVEUR", "proxy"), ERROR_SUCCESS); // même valeur

    CleOuverte autre;
    ASSERT_EQ(OuvrirCle(HKEY_CURRENT_USER, "SOFTWARE\\mervane\\éDITIONS", KEY_READ, autre), 0);
    std::uint32_t type = 0;
    EXPECT_EQ(Octets("software\\MERVANE\\ÉDITIONS", "serveur", type), std::string("proxy\0", 6));
    EXPECT_EQ(type, REG_SZ);

    // La base garde la première graphie de la clé et de la valeur.
    sqlite3* base = nullptr;
    ASSERT_EQ(sqlite3_open_v2(FichierUtilisateur().c_str(), &base, SQLITE_OPEN_READONLY, nullptr),
              SQLITE_OK);
    sqlite3_stmt* requete = nullptr;
    sqlite3_prepare_v2(base, "SELECT c.nom, v.nom FROM cles c JOIN valeurs v ON v.cle = c.chemin",
                       -1, &requete, nullptr);
    ASSERT_EQ(sqlite3_step(requete), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(requete, 0)), "Éditions");
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(requete, 1)), "Serveur");
    EXPECT_EQ(sqlite3_step(requete), SQLITE_DONE);
    sqlite3_finalize(requete);
    sqlite3_close(base);
}

TEST_F(Registre, LesValeursSontStockeesCommeSousWindows) {
    CleOuverte cle;
    ASSERT_EQ(CreerCle(HKEY_CURRENT_USER, kCle, KEY_READ | KEY_WRITE, cle), 0);
    ASSERT_EQ(cle.EcrireTexte("MAJ", "6.1"), 0);
    ASSERT_EQ(cle.EcrireDword("Port", 0x01020304), 0);
    ASSERT_EQ(cle.EcrireTexte("Vide", ""), 0);

    std::uint32_t type = 0;
    EXPECT_EQ(Octets(kCle, "MAJ", type), std::string("6.1\0", 4));
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(Octets(kCle, "Port", type), "\x04\x03\x02\x01");
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(Octets(kCle, "Vide", type), std::string(1, '\0'));

    std::uint32_t valeur = 0;
    EXPECT_EQ(cle.LireDword("Port", valeur), ERROR_SUCCESS);
    EXPECT_EQ(valeur, 0x01020304u);
    EXPECT_EQ(cle.LireDword("MAJ", valeur), ERROR_INVALID_DATA);
}

TEST_F(Registre, UnTamponTropPetitDonneMoreDataEtLaTailleUtile) {
    CleOuverte cle;
    ASSERT_EQ(CreerCle(HKEY_CURRENT_USER, kCle, KEY_READ | KEY_WRITE, cle), 0);
    ASSERT_EQ(cle.EcrireTexte("MAJ", "6.1.0.12"), 0);
    char tampon[9] = "xxxxxxxx";
    std::uint32_t taille = 8;
    EXPECT_EQ(cle.LireValeur("MAJ", nullptr, tampon, &taille), ERROR_MORE_DATA);
    EXPECT_EQ(taille, 9u);
    EXPECT_STREQ(tampon, "xxxxxxxx"); // rien de copié
    taille = 9;
    EXPECT_EQ(cle.LireValeur("MAJ", nullptr, tampon, &taille), ERROR_SUCCESS);
    EXPECT_STREQ(tampon, "6.1.0.12");
    EXPECT_EQ(cle.LireValeur("MAJ", nullptr, tampon, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(cle.LireValeur("Absente", nullptr, nullptr, &taille), ERROR_FILE_NOT_FOUND);
}

TEST_F(Registre, LesDroitsDeLaPoigneeSontRespectes) {
    CleOuverte cle;
    ASSERT_EQ(CreerCle(HKEY_CURRENT_USER, kCle, KEY_READ | KEY_WRITE, cle), 0);
    CleOuverte lecture;
    ASSERT_EQ(OuvrirCle(HKEY_CURRENT_USER, kCle, KEY_READ, lecture), 0);
    EXPECT_EQ(lecture.EcrireTexte("MAJ", "x"), ERROR_ACCESS_DENIED);
    CleOuverte ecriture;
    ASSERT_EQ(OuvrirCle(HKEY_CURRENT_USER, kCle, KEY_SET_VALUE, ecriture), 0);
    EXPECT_EQ(ecriture.EcrireTexte("MAJ", "x"), ERROR_SUCCESS);
    EXPECT_EQ(ecriture.LireValeur("MAJ", nullptr, nullptr, nullptr), ERROR_ACCESS_DENIED);

    EXPECT_EQ(ecriture.Fermer(), ERROR_SUCCESS);
    EXPECT_EQ(ecriture.Fermer(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(ecriture.EcrireTexte("MAJ", "y"), ERROR_INVALID_HANDLE);
    CleOuverte deplacee = std::move(lecture);
    EXPECT_FALSE(lecture.Ouverte());
    EXPECT_TRUE(deplacee.Ouverte());
}

TEST_F(Registre, LaRucheMachineSeLitSansJamaisSEcrire) {
    ASSERT_EQ(test::EcrireTexteMachine("SOFTWARE\\Mervane\\Orthalis", "R", "10"), 0);
    EXPECT_TRUE(fs::exists(env.Systeme() + "/Mervane/registre.sqlite"));
    EXPECT_FALSE(fs::exists(FichierUtilisateur()));

    CleOuverte cle;
    ASSERT_EQ(OuvrirCle(HKEY_LOCAL_MACHINE, "software\\mervane\\orthalis", KEY_READ, cle), 0);
    char tampon[8] = {};
    std::uint32_t taille = sizeof tampon;
    EXPECT_EQ(cle.LireValeur("r", nullptr, tampon, &taille), 0);
    EXPECT_STREQ(tampon, "10");
    CleOuverte refus;
    EXPECT_EQ(OuvrirCle(HKEY_LOCAL_MACHINE, "SOFTWARE", KEY_READ | KEY_WRITE, refus),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(CreerCle(HKEY_LOCAL_MACHINE, "SOFTWARE\\Nouvelle", KEY_WRITE, refus),
              ERROR_ACCESS_DENIED);
    // La même clé sous l'utilisateur n'existe pas.
    EXPECT_EQ(OuvrirCle(HKEY_CURRENT_USER, "SOFTWARE", KEY_READ, refus), ERROR_FILE_NOT_FOUND);
}

TEST_F(Registre, UnFichierAbsentEstUneRucheVideQueLaLectureNeCreePas) {
    CleOuverte racine;
    EXPECT_EQ(OuvrirCle(HKEY_CURRENT_USER, "", KEY_READ, racine), ERROR_SUCCESS);
    EXPECT_EQ(racine.LireValeur("x", nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
    CleOuverte cle;
    EXPECT_EQ(OuvrirCle(HKEY_CURRENT_USER, kCle, KEY_READ | KEY_WRITE, cle), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(OuvrirCle(HKEY_LOCAL_MACHINE, kCle, KEY_READ, cle), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(fs::exists(env.ConfigUtilisateur() + "/Mervane"));
    EXPECT_FALSE(fs::exists(env.Systeme() + "/Mervane"));

    // Une racine ouverte en écriture crée le fichier à la première écriture.
    CleOuverte ecriture;
    ASSERT_EQ(OuvrirCle(HKEY_CURRENT_USER, "", KEY_WRITE, ecriture), ERROR_SUCCESS);
    EXPECT_FALSE(fs::exists(FichierUtilisateur()));
    EXPECT_EQ(ecriture.EcrireDword("SilForcay", 1), ERROR_SUCCESS);
    EXPECT_TRUE(fs::exists(FichierUtilisateur()));
}

TEST_F(Registre, UnFichierCorrompuEstUneRucheAbsenteJamaisReecrite) {
    std::string dechets(4096, '\0');
    for (std::size_t i = 0; i < dechets.size(); ++i)
        dechets[i] = static_cast<char>((i * 131 + 7) % 251);
    test::EcrireFichier(FichierUtilisateur(), dechets);

    CleOuverte cle;
    EXPECT_EQ(OuvrirCle(HKEY_CURRENT_USER, kCle, KEY_READ, cle), ERROR_BADDB);
    EXPECT_EQ(CreerCle(HKEY_CURRENT_USER, kCle, KEY_WRITE, cle), ERROR_BADDB);
    CleOuverte racine;
    ASSERT_EQ(OuvrirCle(HKEY_CURRENT_USER, "", KEY_READ | KEY_WRITE, racine), ERROR_BADDB);
    EXPECT_FALSE(racine.Ouverte());
    EXPECT_EQ(test::LireFichier(FichierUtilisateur()), dechets);
}

TEST_F(Registre, UneBaseEtrangereOuIllisibleNEstNiLueNiModifiee) {
    fs::create_directories(env.ConfigUtilisateur() + "/Mervane");
    sqlite3* base = nullptr;
    ASSERT_EQ(sqlite3_open(FichierUtilisateur().c_str(), &base), SQLITE_OK);
    sqlite3_exec(base, "CREATE TABLE cles(x); INSERT INTO cles VALUES(1)", nullptr, nullptr,
                 nullptr);
    sqlite3_close(base);
    const std::string avant = test::LireFichier(FichierUtilisateur());

    CleOuverte cle;
    EXPECT_EQ(OuvrirCle(HKEY_CURRENT_USER, "Software", KEY_READ, cle), ERROR_BADDB);
    EXPECT_EQ(CreerCle(HKEY_CURRENT_USER, "Software", KEY_WRITE, cle), ERROR_BADDB);
    EXPECT_EQ(test::LireFichier(FichierUtilisateur()), avant);

    // Un dossier à la place du fichier : illisible, sans plantage.
    fs::create_directories(env.Systeme() + "/Mervane/registre.sqlite");
    EXPECT_NE(OuvrirCle(HKEY_LOCAL_MACHINE, "SOFTWARE", KEY_READ, cle), ERROR_SUCCESS);
    EXPECT_FALSE(cle.Ouverte());
}

// Un processus fils écrit `nombre` valeurs distinctes, chacune dans sa transaction.
void EcrireDansUnFils(const std::string& prefixe, int nombre) {
    for (int i = 0; i < nombre; ++i) {
        CleOuverte cle;
        if (CreerCle(HKEY_CURRENT_USER, kCle, KEY_WRITE, cle) != 0 ||
            cle.EcrireTexte(prefixe + std::to_string(i), prefixe + "-" + std::to_string(i)) != 0)
            ::_exit(1);
    }
    ::_exit(0);
}

TEST_F(Registre, DeuxProcessusQuiEcriventEnsembleNePerdentRien) {
    constexpr int kNombre = 200;
    pid_t fils[2] = {};
    const char* prefixes[2] = {"a", "b"};
    for (int p = 0; p < 2; ++p) {
        fils[p] = ::fork();
        ASSERT_GE(fils[p], 0);
        if (fils[p] == 0) EcrireDansUnFils(prefixes[p], kNombre);
    }
    for (pid_t f : fils) {
        int etat = 0;
        ASSERT_EQ(::waitpid(f, &etat, 0), f);
        EXPECT_TRUE(WIFEXITED(etat) && WEXITSTATUS(etat) == 0);
    }
    CleOuverte cle;
    ASSERT_EQ(OuvrirCle(HKEY_CURRENT_USER, kCle, KEY_READ, cle), 0);
    int trouvees = 0;
    for (const char* prefixe : prefixes)
        for (int i = 0; i < kNombre; ++i) {
            char tampon[32] = {};
            std::uint32_t taille = sizeof tampon;
            const std::string nom = prefixe + std::to_string(i);
            if (cle.LireValeur(nom, nullptr, tampon, &taille) == 0 &&
                std::string(tampon) == std::string(prefixe) + "-" + std::to_string(i))
                ++trouvees;
        }
    EXPECT_EQ(trouvees, 2 * kNombre);
}

} // namespace
} // namespace emporteur
