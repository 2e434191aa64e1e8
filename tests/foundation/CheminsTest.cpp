#include "foundation/Chemins.h"
#include "foundation/Fichiers.h"
#include "outils/DossierTemporaire.h"
#include "outils/InterfaceEnregistreuse.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace emporteur {
namespace {

std::string Applique(void (*f)(std::string&), std::string s) {
    f(s);
    return s;
}

TEST(Chemins, EditionsEnPlace) {
    EXPECT_EQ(Applique(AjouterBarre, ""), "");
    EXPECT_EQ(Applique(AjouterBarre, "/data/"), "/data/");
    EXPECT_EQ(Applique(AjouterBarre, "/data"), "/data/");
    EXPECT_EQ(Applique(RetirerBarre, "/data/"), "/data");
    EXPECT_EQ(Applique(RetirerBarre, "/data"), "/data");
    EXPECT_EQ(Applique(RetirerDernierElement, "/data/sub"), "/data");
    EXPECT_EQ(Applique(RetirerDernierElement, "/data/"), "/data");
    EXPECT_EQ(Applique(RetirerDernierElement, "data"), "");
}

TEST(Chemins, RetirerNomFichierSuitLeBalayageExact) {
    EXPECT_EQ(Applique(RetirerNomFichier, "/prog/setup.exe"), "/prog");
    EXPECT_EQ(Applique(RetirerNomFichier, "/prog"), "/prog");
    EXPECT_EQ(Applique(RetirerNomFichier, "/a.b/c"), "/a.b/c");
    EXPECT_EQ(Applique(RetirerNomFichier, "x/a.b"), "x");
    EXPECT_EQ(Applique(RetirerNomFichier, "x.exe"), "x.exe");
    // Le premier caractère n'est jamais examiné : le "/" de tête ne coupe pas.
    EXPECT_EQ(Applique(RetirerNomFichier, "/a.b"), "/a.b");
    EXPECT_EQ(Applique(RetirerNomFichier, ""), "");
    EXPECT_EQ(Applique(RetirerNomFichier, "."), ".");
}

TEST(Fichiers, RecherchesAvecEtSansDossier) {
    test::DossierTemporaire d;
    test::EcrireFichier(d / "f.txt", "x");
    EXPECT_TRUE(FichierExiste("f.txt", d.Chemin()));
    EXPECT_TRUE(FichierExiste("f.txt", d.Chemin() + "/"));
    EXPECT_TRUE(FichierExiste(d / "f.txt"));
    EXPECT_TRUE(FichierExiste("*.txt", d.Chemin()));
    EXPECT_TRUE(FichierExiste("f.t?t", d.Chemin()));
    EXPECT_FALSE(FichierExiste("*.exe", d.Chemin()));
    EXPECT_FALSE(FichierExiste("g.txt", d.Chemin()));
    EXPECT_TRUE(DossierExiste(d.Chemin() + "/"));
    EXPECT_TRUE(DossierExiste("/"));
    EXPECT_TRUE(DossierExiste(d / "f.txt"));
    EXPECT_FALSE(DossierExiste(d / "absent"));
    EXPECT_FALSE(DossierExiste(""));
}

TEST(Fichiers, CreerDossierCreeLaChaineEtRendLeDernierResultat) {
    test::DossierTemporaire d;
    EXPECT_TRUE(CreerDossier(d / "a/b/c"));
    EXPECT_TRUE(std::filesystem::is_directory(d / "a/b/c"));
    EXPECT_TRUE(CreerDossier(d / "x/y/"));
    EXPECT_TRUE(std::filesystem::is_directory(d / "x/y"));
    // Déjà là : rien n'est créé, faux.
    EXPECT_FALSE(CreerDossier(d / "a/b"));
    EXPECT_FALSE(CreerDossier(""));
    // Un parent qui est un fichier : les créations suivantes échouent, faux.
    test::EcrireFichier(d / "fichier", "x");
    EXPECT_FALSE(CreerDossier(d / "fichier/sous/dossier"));
}

TEST(Fichiers, EffacerFichierAbsentLectureSeuleEtBloque) {
    test::DossierTemporaire d;
    EXPECT_TRUE(EffacerFichier(d / "absent"));

    test::EcrireFichier(d / "ro", "x");
    ::chmod((d / "ro").c_str(), 0444);
    EXPECT_TRUE(EffacerFichier(d / "ro"));
    EXPECT_FALSE(std::filesystem::exists(d / "ro"));

    // Un dossier ne s'efface pas comme un fichier : trois essais, environ une seconde.
    std::filesystem::create_directory(d / "bloque");
    const auto debut = std::chrono::steady_clock::now();
    EXPECT_FALSE(EffacerFichier(d / "bloque"));
    const auto duree = std::chrono::steady_clock::now() - debut;
    EXPECT_GE(duree, std::chrono::milliseconds(950));
    EXPECT_TRUE(std::filesystem::exists(d / "bloque"));
}

TEST(Fichiers, ChoisirDossierPasseParLInterface) {
    test::InterfaceEnregistreuse ui;
    std::string chemin = "inchangé";
    EXPECT_FALSE(ChoisirDossier(ui, chemin, "Titre"));
    EXPECT_EQ(chemin, "inchangé");
    ui.dossiersChoisis.push_back("/srv/archives");
    EXPECT_TRUE(ChoisirDossier(ui, chemin, "Titre"));
    EXPECT_EQ(chemin, "/srv/archives");
    EXPECT_EQ(ui.Appels("ChoisirDossier").at(0).texte, "Titre");
}

} // namespace
} // namespace emporteur

namespace emporteur {
namespace {

TEST(Fichiers, EffacerFichierPrendLeNomALaLettre) {
    test::DossierTemporaire d;
    test::EcrireFichier(d / "a[1]*.exe", "x");
    test::EcrireFichier(d / "a1b.exe", "y");
    EXPECT_TRUE(EffacerFichier(d / "a[1]*.exe"));
    EXPECT_FALSE(std::filesystem::exists(d / "a[1]*.exe"));
    EXPECT_TRUE(std::filesystem::exists(d / "a1b.exe"));
    EXPECT_TRUE(EffacerFichier(d / "a?b.exe")); // aucun fichier de ce nom
    EXPECT_TRUE(std::filesystem::exists(d / "a1b.exe"));
}

} // namespace
} // namespace emporteur
