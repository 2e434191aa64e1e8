#include "commun/ContexteTelechargement.h"
#include "catalogue/InterpreterCatalogue.h"
#include "download/Crc32.h"
#include "outils/ClesOpenssl.h"
#include "outils/DossierTemporaire.h"
#include "outils/InterfaceEnregistreuse.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace emporteur {
namespace {

using test::DossierTemporaire;
using test::EcrireFichier;

struct Sortie {
    std::string texte;
    std::string erreurs;
    int code = -1;
};

// Lance le vrai emporteur-cli ; `arguments` est déjà protégé pour le shell. Sa sortie
// d'erreur n'est gardée que sur demande.
Sortie Lancer(const std::string& arguments, bool garderErreurs = false) {
    const DossierTemporaire tmp;
    const std::string erreurs = tmp / "erreurs";
    const std::string commande = std::string(EMPORTEUR_CLI) + " " + arguments + " 2>" +
                                 (garderErreurs ? "'" + erreurs + "'" : std::string("/dev/null"));
    FILE* tube = ::popen(commande.c_str(), "r");
    Sortie s;
    if (!tube) return s;
    char tampon[4096];
    for (std::size_t n; (n = std::fread(tampon, 1, sizeof tampon, tube)) > 0;)
        s.texte.append(tampon, n);
    const int etat = ::pclose(tube);
    s.code = WIFEXITED(etat) ? WEXITSTATUS(etat) : -1;
    if (garderErreurs) s.erreurs = test::LireFichier(erreurs);
    return s;
}

std::string Crc(const std::string& s) {
    return std::to_string(Crc32(0, s.data(), s.size()));
}

TEST(CommandeCrc, ListePuisTaille) {
    DossierTemporaire tmp;
    EcrireFichier(tmp / "dix", "0123456789");
    const std::string liste = Crc("0123") + " " + Crc("4567") + " " + Crc("89");
    Sortie s = Lancer("crc '" + (tmp / "dix") + "' 4");
    EXPECT_EQ(s.code, 0);
    EXPECT_EQ(s.texte, liste + "\n10\n");
    // Les bornes mêmes du téléchargement passent.
    EXPECT_EQ(Lancer("crc '" + (tmp / "dix") + "' 67108864").texte, Crc("0123456789") + "\n10\n");
    EXPECT_EQ(Lancer("crc '" + (tmp / "dix") + "' 1").code, 0);
}

// Ce que le téléchargement refuserait, ou un nombre suivi d'autre chose, est une erreur
// d'usage qui nomme la limite ; rien n'est écrit sur la sortie standard.
TEST(CommandeCrc, TaillesDeSegmentRefuseesCommeLeTelechargement) {
    DossierTemporaire tmp;
    EcrireFichier(tmp / "f", "0123456789");
    EcrireFichier(tmp / "vide", "");
    const std::string f = "'" + (tmp / "f") + "' ";
    const struct {
        std::string arguments;
        bool nommeLaLimite;
    } cas[] = {
        {"crc " + f + "1000x", true},
        {"crc " + f + "' 4abc'", true},
        {"crc " + f + "12abc", true},
        {"crc " + f + "-5", true},
        {"crc " + f + "0", true},
        {"crc " + f + "67108865", true},
        {"crc " + f + "4294967300", true},
        {"crc " + f + "''", true},
        {"ingredient " + f + "100000000 --cle k --site s --rep r", true},
        {"ingredient " + f + "-1 --cle k --site s --rep r", true},
        {"ingredient " + f + "12abc --cle k --site s --rep r", true},
        {"ingredient '" + (tmp / "vide") + "' 4 --cle k --site s --rep r", false},
    };
    for (const auto& c : cas) {
        const Sortie s = Lancer(c.arguments, true);
        EXPECT_EQ(s.code, 2) << c.arguments;
        EXPECT_EQ(s.texte, "") << c.arguments;
        EXPECT_EQ(s.erreurs.find("de 1 à 67108864 octets (64 Mio)") != std::string::npos,
                  c.nommeLaLimite)
            << c.arguments << " : " << s.erreurs;
    }
}

TEST(CommandeCrc, ErreursDUsageEtDeFichier) {
    DossierTemporaire tmp;
    EcrireFichier(tmp / "f", "abc");
    for (const std::string& args : {"crc '" + (tmp / "f") + "' abc", "crc '" + (tmp / "f") + "' 0",
                                    "crc '" + (tmp / "absent") + "' 4", "crc '" + (tmp / "f") + "'",
                                    "crc '" + tmp.Chemin() + "' 4"}) {
        const Sortie s = Lancer(args);
        EXPECT_EQ(s.code, 2) << args;
        EXPECT_EQ(s.texte, "") << args;
    }
}

TEST(CommandeIngredient, LigneRelueParLeCatalogue) {
    test::EnvironnementIsole env;
    DossierTemporaire tmp;
    EcrireFichier(tmp / "dix", "0123456789");
    const Sortie s = Lancer("ingredient '" + (tmp / "dix") +
                            "' 4 --cle maj62 --site serveur --rep 'maj/win' "
                            "--distant 'maj 62.exe' --local 'Mise à jour.exe'");
    ASSERT_EQ(s.code, 0);
    const std::string liste = Crc("0123") + " " + Crc("4567") + " " + Crc("89");
    EXPECT_EQ(s.texte,
              "cle=\"maj62\" fichierdistant=\"maj 62.exe\" fichierlocal=\"Mise à jour.exe\""
              " site=\"serveur\" rep=\"maj/win\" taille=\"10\" tailleseg=\"4\" crc=\"" +
                  liste + "\" sha256=\"" + test::Sha256Openssl(tmp / "dix") + "\"\n");

    test::InterfaceEnregistreuse ui;
    ContexteTelechargement ctx(ModeExecution::Ordinaire, ui);
    std::string recettes = "2.1.0.0\n ver=\"6.1.0.12\" produit=\"P\" verMaj=\"6.2.0.3\" "
                           "titre=\"T\" des=\"D\" cles=\"maj62\"\n";
    std::string ingredients = "2.1.0.0\n" + s.texte;
    ASSERT_TRUE(InterpreterCatalogue(ctx, recettes, ingredients, ""));
    ASSERT_EQ(ctx.Recettes.size(), 1u);
    ASSERT_EQ(ctx.Recettes[0]->Fichiers.size(), 1u);
    const Ingredient& ing = *ctx.Recettes[0]->Fichiers[0];
    EXPECT_EQ(ing.NomDistant, "maj 62.exe");
    EXPECT_EQ(ing.NomLocal, "Mise à jour.exe");
    EXPECT_EQ(ing.Site, "serveur");
    EXPECT_EQ(ing.Repertoire, "maj/win");
    EXPECT_EQ(ing.Taille, 10);
    EXPECT_EQ(ing.TailleSegment, 4);
    EXPECT_EQ(ing.Crcs, (std::vector<std::uint32_t>{Crc32(0, "0123", 4), Crc32(0, "4567", 4),
                                                    Crc32(0, "89", 2)}));
    EXPECT_EQ(ing.Empreinte, test::Sha256Openssl(tmp / "dix"));
}

TEST(CommandeIngredient, SansNomsDistinctsEtValeursRefusees) {
    DossierTemporaire tmp;
    EcrireFichier(tmp / "f", "abc");
    const std::string base = "ingredient '" + (tmp / "f") + "' 100 ";
    EXPECT_EQ(Lancer(base + "--cle k --site s --rep r").texte,
              "cle=\"k\" site=\"s\" rep=\"r\" taille=\"3\" tailleseg=\"100\" crc=\"" + Crc("abc") +
                  "\" sha256=\"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad\"\n");
    for (const char* options :
         {"--cle 'a\"b' --site s --rep r", "--cle k --site \"$(printf 'a\\nb')\" --rep r",
          "--cle k --site s --rep 'x site=y'", "--cle 'a b' --site s --rep r",
          "--cle '' --site s --rep r", "--cle k --site s", "--cle k --site s --rep r --distant d",
          "--cle k --site s --rep r --inconnue x"}) {
        const Sortie s = Lancer(base + options);
        EXPECT_EQ(s.code, 2) << options;
        EXPECT_EQ(s.texte, "") << options;
    }
}

} // namespace
} // namespace emporteur
