// emporteur-cli version lancé pour de vrai sur les exécutables de test.
#include "outils/DossierTemporaire.h"
#include "outils/Processus.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace {

struct Resultat {
    int code = -1;
    std::string sortie;
};

Resultat Lancer(const std::string& arguments) {
    const std::string commande =
        std::string("'") + EMPORTEUR_CLI + "' version " + arguments + " 2>/dev/null";
    Resultat r;
    FILE* tube = ::popen(commande.c_str(), "r");
    if (!tube) return r;
    char tampon[4096];
    std::size_t lus = 0;
    while ((lus = std::fread(tampon, 1, sizeof tampon, tube)) > 0)
        r.sortie.append(tampon, lus);
    const int etat = ::pclose(tube);
    r.code = WIFEXITED(etat) ? WEXITSTATUS(etat) : -1;
    return r;
}

std::string Fixture(const std::string& nom) {
    return std::string("'") + EMPORTEUR_FIXTURES_VERSION + "/" + nom + ".exe'";
}

TEST(CommandeVersion, ImprimeVersionsEtValeursDuProduit) {
    for (const char* nom : {"produit32", "produit64"}) {
        SCOPED_TRACE(nom);
        const Resultat r = Lancer(Fixture(nom));
        EXPECT_EQ(r.code, 0);
        EXPECT_EQ(r.sortie, "6,1,0,12\n7,3,0,5\n7\n3\nOrthalis 6.1 (build 1234)\nOrthalis\n");
    }
    const Resultat r = Lancer(Fixture("traductions64"));
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.sortie, "1,2,3,4\n1,2,0,0\n1\n2\n1.2 anglais\nPremier\n");
}

TEST(CommandeVersion, ValeursAbsentesDonnentDesLignesVides) {
    const Resultat r = Lancer(Fixture("sans_traduction32"));
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.sortie, "2,0,0,1\n2,0,0,0\n2\n0\n\n\n");
}

TEST(CommandeVersion, SansInformationDeVersionSortAvecUn) {
    for (const char* nom : {"sans_ressource64", "sans_version32"}) {
        SCOPED_TRACE(nom);
        const Resultat r = Lancer(Fixture(nom));
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.sortie, "\n\n0\n0\n\n\n");
    }
}

TEST(CommandeVersion, FichierIllisibleOuUsageFautifSortAvecDeux) {
    emporteur::test::DossierTemporaire dossier;
    EXPECT_EQ(Lancer("'" + dossier / "absent.exe" + "'").code, 2);
    EXPECT_EQ(Lancer("'" + dossier.Chemin() + "'").code, 2);
    EXPECT_EQ(Lancer("").code, 2);
    EXPECT_EQ(Lancer(Fixture("produit64") + " " + Fixture("produit32")).code, 2);
    EXPECT_EQ(Lancer("'" + dossier / "absent.exe" + "'").sortie, "");
}

TEST(CommandeVersion, LeProgrammeLuiMemeDonneSesInformationsCompilees) {
    const Resultat r = Lancer(std::string("'") + EMPORTEUR_CLI + "'");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.sortie, "3,0,0,0\n3,0,0,0\n3\n0\n3.0.0.0\nEmporteur\n");
}

} // namespace

namespace emporteur {
namespace {

// Un fichier qui n'est pas une image PE : rien sur la sortie standard, la raison sur
// la sortie d'erreur.
TEST(CommandeVersion, FichierQuiNEstPasUnExecutableDitPourquoi) {
    test::DossierTemporaire dossier;
    const struct {
        const char* nom;
        std::string contenu;
    } cas[] = {
        {"texte", "root:x:0:0:root:/root:/bin/bash\n"},
        {"mz-seul", std::string("MZ") + std::string(100, '\0')},
        {"vide", ""},
    };
    for (const auto& c : cas) {
        test::EcrireFichier(dossier / c.nom, c.contenu);
        const auto r = test::ExecuterCli({"version", dossier / c.nom});
        EXPECT_EQ(r.code, 1) << c.nom;
        EXPECT_EQ(r.sortie, "") << c.nom;
        EXPECT_EQ(r.erreurs, "« " + (dossier / c.nom) +
                                 " » n'est pas un exécutable Windows : aucune version à lire.\n");
    }
}

} // namespace
} // namespace emporteur
