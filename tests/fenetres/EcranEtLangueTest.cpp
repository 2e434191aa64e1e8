// Ce qu'une personne voit selon son écran et sa langue : le livret tient dans l'écran à
// double échelle, et les textes de Qt (sélecteur de dossier, menus) sont en français
// que la langue du système soit le français ou non. Les essais « SousEnvironnement »
// ne font rien seuls : un essai les relance dans un processus à part, hors écran ou
// sous Xvfb, avec la langue et l'échelle voulues.
#include "BancLivret.h"

#include "fenetres/Traductions.h"
#include "outils/Processus.h"

#include <QAccessible>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWizardPage>

#include <filesystem>
#include <unistd.h>

namespace emporteur::test {
namespace {

bool DansUnEnfant() {
    return qEnvironmentVariableIsSet("EMPORTEUR_ESSAI_ENFANT");
}

// Relance cet exécutable sur un seul essai (nom complet), hors écran ou sous Xvfb (1280×1024).
ResultatProcessus Relancer(const std::string& essai, bool xvfb,
                           std::map<std::string, std::string> env) {
    const std::string moi = std::filesystem::read_symlink("/proc/self/exe");
    env["EMPORTEUR_ESSAI_ENFANT"] = "1";
    env["QT_QPA_PLATFORM"] = xvfb ? "xcb" : "offscreen";
    const std::vector<std::string> args = {moi, "--gtest_filter=" + essai};
    if (!xvfb) return Executer(moi, {args.begin() + 1, args.end()}, env);
    std::vector<std::string> avecXvfb = {"-a", "-s", "-screen 0 1280x1024x24"};
    avecXvfb.insert(avecXvfb.end(), args.begin(), args.end());
    return Executer("xvfb-run", avecXvfb, env);
}

TEST(Traductions, LaLangueDesTextesDeQtEstToujoursLeFrancais) {
    EXPECT_EQ(fenetres::LangueDesTraductions(QLocale("fr_CA")), QLocale("fr_CA"));
    EXPECT_EQ(fenetres::LangueDesTraductions(QLocale::c()).language(), QLocale::French);
    EXPECT_EQ(fenetres::LangueDesTraductions(QLocale("de_DE")).language(), QLocale::French);
}

TEST(Traductions, SelecteurDeDossierEtMenusEnFrancaisSelonLANG) {
    if (DansUnEnfant()) GTEST_SKIP();
    for (const bool xvfb : {false, true})
        for (const char* lang : {"fr_FR.UTF-8", "C"}) {
            SCOPED_TRACE(std::string(lang) + (xvfb ? " sous Xvfb" : " hors écran"));
            const auto r = Relancer("SousEnvironnement.SelecteurDeDossierEnFrancais", xvfb, {{"LANG", lang}});
            EXPECT_EQ(r.code, 0) << r.sortie << r.erreurs;
            EXPECT_NE(r.sortie.find("[  PASSED  ] 1 test"), std::string::npos) << r.sortie;
        }
}

TEST(LivretEcran, ChaqueBoutonDansLEcranADoubleEchelle) {
    if (DansUnEnfant()) GTEST_SKIP();
    const auto r = Relancer("SousEnvironnementLivret.TientDansLEcran", true, {{"QT_SCALE_FACTOR", "2"}});
    EXPECT_EQ(r.code, 0) << r.sortie << r.erreurs;
    EXPECT_NE(r.sortie.find("[  PASSED  ] 1 test"), std::string::npos) << r.sortie;
}

// Le sélecteur de dossier de l'assistant, ouvert pour de vrai : ses boutons et ses
// noms accessibles en français, ouvert sur le plus proche parent existant.
TEST(SousEnvironnement, SelecteurDeDossierEnFrancais) {
    if (!DansUnEnfant()) GTEST_SKIP();
    ASSERT_TRUE(fenetres::InstallerTraductions(*qApp));
    DossierTemporaire dossier;
    QStringList boutons, noms;
    QString depart;
    // Le sélecteur, une fois ouvert, est lu puis refermé ; au bout de 20 s sans lui,
    // toute fenêtre modale est refermée pour que l'essai échoue sans rester bloqué.
    QTimer guetteur;
    int tours = 0;
    QObject::connect(&guetteur, &QTimer::timeout, [&] {
        auto* dialogue = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialogue) {
            if (++tours > 200 && QApplication::activeModalWidget())
                QApplication::activeModalWidget()->close();
            return;
        }
        guetteur.stop();
        depart = dialogue->directory().absolutePath();
        for (auto* b : dialogue->findChild<QDialogButtonBox*>()->buttons()) {
            boutons << b->text();
            noms << QAccessible::queryAccessibleInterface(b)->text(QAccessible::Name);
        }
        dialogue->reject();
    });
    guetteur.start(100);
    fenetres::InterfaceQt ui;
    std::string chemin = dossier.Chemin();
    EXPECT_FALSE(ui.ChoisirDossier("Choisissez l’emplacement de sauvegarde :", chemin));
    EXPECT_EQ(depart.toStdString(), dossier.Chemin());
    EXPECT_EQ(boutons, (QStringList{"&Choisir", "Annuler"})) << boutons.join("|").toStdString();
    EXPECT_EQ(noms, (QStringList{"Choisir", "Annuler"})) << noms.join("|").toStdString();
    // Le menu d'une zone de texte.
    QLineEdit zone;
    std::unique_ptr<QMenu> menu(zone.createStandardContextMenu());
    QStringList actions;
    for (auto* a : menu->actions())
        actions << a->text();
    EXPECT_TRUE(actions.join("|").contains("Co&uper")) << actions.join("|").toStdString();
}

class SousEnvironnementLivret : public BancLivret {};

// Chaque bouton de chaque page dans l'écran, une seule taille pour toutes les pages,
// pas d'agrandissement.
TEST_F(SousEnvironnementLivret, TientDansLEcran) {
    if (!DansUnEnfant()) GTEST_SKIP();
    Servir(kRecettesAvecMaj, kBoutique7);
    Execution e(ModeExecution::Ordinaire);
    ASSERT_TRUE(e.livret.Preparer());
    e.livret.show();
    ASSERT_TRUE(Attendre([&] { return e.livret.isVisible(); }));
    const QRect ecran = e.livret.screen()->availableGeometry();
    EXPECT_EQ(ecran.size(), QSize(640, 512)); // 1280×1024 à l'échelle 2
    EXPECT_FALSE(e.livret.windowFlags() & Qt::WindowMaximizeButtonHint);
    const QSize taille = e.livret.size();
    EXPECT_LE(e.livret.frameGeometry().height(), ecran.height());
    automate.RepondreBoite("n’existe pas", Reponse::Oui);
    for (const int id : {fenetres::kPageBienvenue, fenetres::kPageListeVersion,
                         fenetres::kPageDestination}) {
        ASSERT_EQ(e.livret.currentId(), id);
        EXPECT_EQ(e.livret.size(), taille) << id;
        // Les boutons du livret et ceux de la page ; les cases de la liste défilent dans
        // leur cadre, qui est lui-même dans la page.
        auto boutons = e.livret.currentPage()->findChildren<QAbstractButton*>(
            QString(), Qt::FindDirectChildrenOnly);
        for (const auto quel : {QWizard::CommitButton, QWizard::FinishButton, QWizard::CancelButton})
            boutons << e.livret.button(quel);
        for (auto* b : boutons) {
            if (!b->isVisible()) continue;
            const QRect global(b->mapToGlobal(QPoint(0, 0)), b->size());
            EXPECT_TRUE(ecran.contains(global)) << id << " " << b->text().toStdString();
        }
        // Les pages qui ne sont pas courantes occupent la même place que la courante.
        const QRect zone(QPoint(0, 0), e.livret.currentPage()->size());
        for (const int autre : e.livret.pageIds()) {
            for (auto* b : e.livret.page(autre)->findChildren<QAbstractButton*>(
                     QString(), Qt::FindDirectChildrenOnly)) {
                EXPECT_TRUE(zone.contains(b->geometry()))
                    << autre << " " << b->text().toStdString();
            }
        }
        if (id != fenetres::kPageDestination) {
            ASSERT_TRUE(Suivant(e.livret, id == fenetres::kPageBienvenue
                                              ? fenetres::kPageListeVersion
                                              : fenetres::kPageDestination));
        }
    }
}

} // namespace
} // namespace emporteur::test
