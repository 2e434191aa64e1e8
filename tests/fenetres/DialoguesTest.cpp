// Les boîtes et dialogues : touches et résultats comme sous Windows, textes français,
// la question d'identifiants posée du fil de travail.
#include "Automate.h"
#include "commun/ContexteTelechargement.h"
#include "fenetres/BoiteMessage.h"
#include "fenetres/DialogueIdentifiants.h"
#include "fenetres/InterfaceQt.h"
#include "fenetres/MajAutoDialogueChoix.h"
#include "fenetres/ParametresProxy.h"
#include "outils/DossierTemporaire.h"
#include "outils/InterfaceEnregistreuse.h"
#include "outils/ProduitInstalle.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <thread>

namespace emporteur::test {
namespace {

using enum Reponse;

// Ouvre la boîte, presse une touche, rend l'identifiant obtenu (0 : toujours ouverte).
Reponse Touche(unsigned style, Qt::Key touche) {
    fenetres::BoiteMessage boite("Texte", "Emporteur", style);
    int obtenu = -1;
    QTimer::singleShot(0, &boite, [&] {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &boite, touche);
        if (boite.isVisible()) {
            obtenu = 0;
            boite.done(0);
        }
    });
    const Reponse r = boite.Executer();
    return obtenu == 0 ? Reponse{} : r;
}

TEST(BoiteMessage, EntreeEtEchapCommeSousWindows) {
    struct Cas {
        unsigned style;
        std::vector<QString> boutons;
        Reponse entree, echap;
    } cas[] = {
        {MB_OK, {"OK"}, Ok, Ok},
        {MB_OKCANCEL | MB_DEFBUTTON2, {"OK", "Annuler"}, Annuler, Annuler},
        {MB_YESNO | MB_ICONQUESTION, {"&Oui", "&Non"}, Oui, Reponse{}},
        {MB_YESNOCANCEL, {"&Oui", "&Non", "Annuler"}, Oui, Annuler},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3,
         {"&Abandonner", "&Réessayer", "&Ignorer"},
         Ignorer,
         Reponse{}},
        {MB_RETRYCANCEL | MB_ICONHAND, {"&Réessayer", "Annuler"}, Reessayer, Annuler},
    };
    for (const auto& c : cas) {
        fenetres::BoiteMessage boite("Texte", "Emporteur", c.style);
        std::vector<QString> vus;
        for (auto* b : boite.findChildren<QPushButton*>())
            vus.push_back(b->text());
        EXPECT_EQ(vus, c.boutons) << c.style;
        EXPECT_EQ(Touche(c.style, Qt::Key_Return), c.entree) << c.style;
        EXPECT_EQ(Touche(c.style, Qt::Key_Escape), c.echap) << c.style;
    }
}

class Proxy : public ::testing::Test {
  protected:
    // Ouvre le dialogue avec ce réglage du système, le fait agir, rend ses textes.
    std::pair<QString, QString> Ouvrir(const char* reglage,
                                       const std::function<void(fenetres::ParametresProxy&)>& agir,
                                       int& resultat) {
        VariableTemporaire variable("http_proxy",
                                    reglage ? std::optional<std::string>(reglage) : std::nullopt);
        fenetres::ParametresProxy dialogue(parametres);
        auto edits = dialogue.findChildren<QLineEdit*>();
        std::pair<QString, QString> textes{edits[0]->text(), edits[1]->text()};
        QTimer::singleShot(0, &dialogue, [&] { agir(dialogue); });
        resultat = dialogue.exec();
        return textes;
    }
    static void Touche(fenetres::ParametresProxy& d, Qt::Key touche) {
        QTest::keyClick(d.findChildren<QLineEdit*>()[0], touche);
    }
    EnvironnementIsole env;
    ParametresConnexion parametres;
};

TEST_F(Proxy, OuvertureSurLeReglageDuSysteme) {
    struct Cas {
        const char* reglage;
        QString serveur, port;
        std::int32_t portConfirme;
    } cas[] = {
        {"cache:81", "cache", "81", 81},
        {"http://cache/", "cache", "", 80},
        {"http=cache:8080;https=s:443", "http=cache", "8080;https=s:443", 8080},
        {nullptr, "", "80", 80},
    };
    for (const auto& c : cas) {
        int resultat = 0;
        const auto textes = Ouvrir(
            c.reglage, [](fenetres::ParametresProxy& d) { Touche(d, Qt::Key_Return); }, resultat);
        EXPECT_EQ(textes.first, c.serveur) << (c.reglage ? c.reglage : "(aucun)");
        EXPECT_EQ(textes.second, c.port);
        EXPECT_EQ(resultat, QDialog::Accepted);
        EXPECT_EQ(parametres.Port, c.portConfirme);
    }
}

TEST_F(Proxy, AnnulerEchapOuFermerRevientASansMandataire) {
    const std::vector<std::function<void(fenetres::ParametresProxy&)>> fins = {
        [](fenetres::ParametresProxy& d) { d.findChildren<QPushButton*>()[1]->click(); },
        [](fenetres::ParametresProxy& d) { Touche(d, Qt::Key_Escape); },
        [](fenetres::ParametresProxy& d) { d.close(); },
    };
    for (const auto& fin : fins) {
        int resultat = 0;
        Ouvrir(
            "cache:81", [](fenetres::ParametresProxy& d) { Touche(d, Qt::Key_Return); }, resultat);
        ASSERT_EQ(parametres.Serveur, "cache");
        Ouvrir("cache:81", fin, resultat);
        EXPECT_EQ(resultat, QDialog::Rejected);
        EXPECT_EQ(parametres.Serveur, "");
        EXPECT_EQ(parametres.Port, 80);
    }
}

TEST(AvisQt, EchapEtFermetureValentPlusTardEtLaCaseChangeLeBouton) {
    EnvironnementIsole env;
    InstallerProduit(env);
    InterfaceEnregistreuse ui;
    ContexteTelechargement ctx(ModeExecution::MajDiscrete, ui);
    const std::vector<std::function<void(QDialog&)>> fins = {
        [](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); },
        [](QDialog& d) { d.close(); },
    };
    for (const auto& fin : fins) {
        fenetres::MajAutoDialogueChoix avis(ctx, true, false, ModeExecution::MajDiscrete);
        EXPECT_FALSE(avis.windowFlags() & Qt::WindowCloseButtonHint);
        auto* plusTard = avis.findChildren<QPushButton*>()[2];
        avis.findChild<QCheckBox*>()->click();
        EXPECT_EQ(plusTard->text(), "OK");
        EXPECT_TRUE(ctx.NePlusAviser);
        avis.findChild<QCheckBox*>()->click();
        EXPECT_EQ(plusTard->text(), "Plus tard");
        EXPECT_FALSE(avis.findChildren<QPushButton*>()[0]->isEnabled()); // pas de mise à niveau
        QTimer::singleShot(0, &avis, [&] { fin(avis); });
        EXPECT_EQ(avis.exec(), static_cast<int>(FinAvis::PlusTard));
    }
}

TEST(InterfaceQt, LaQuestionDuFilDeTravailEstPoseeSurLeFilDeLInterface) {
    fenetres::InterfaceQt ui;
    Automate automate;
    bool surFilInterface = false;
    automate.Quand(
        [](QWidget* f) { return qobject_cast<fenetres::DialogueIdentifiants*>(f) != nullptr; },
        [&](QWidget* f) {
            surFilInterface = QThread::currentThread() == qApp->thread();
            auto edits = f->findChildren<QLineEdit*>();
            edits[0]->setText("lea");
            edits[1]->setText("secret");
            static_cast<QDialog*>(f)->accept();
        });
    bool accepte = false, fini = false;
    std::string utilisateur, motDePasse;
    std::thread travail([&] {
        accepte = ui.DemanderIdentifiants("http://serveur/x", false, utilisateur, motDePasse);
        fini = true;
    });
    EXPECT_TRUE(Attendre([&] { return fini; }));
    travail.join();
    EXPECT_TRUE(surFilInterface);
    EXPECT_TRUE(accepte);
    EXPECT_EQ(utilisateur, "lea");
    EXPECT_EQ(motDePasse, "secret");
}

} // namespace
} // namespace emporteur::test
