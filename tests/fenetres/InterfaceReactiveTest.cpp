// L'assistant ne gèle pas : pendant que le catalogue se fait attendre, la fenêtre
// répond, porte seule le curseur d'attente, et les boîtes qui attendent une réponse
// gardent la flèche. Le vrai programme, sous Xvfb, se ferme par Échap pendant
// l'attente du catalogue.
#include "BancLivret.h"

#include "fenetres/BoiteMessage.h"
#include "fenetres/MajAutoDialogueChoix.h"
#include "outils/Processus.h"

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>

#include <chrono>

namespace emporteur::test {
namespace {

using namespace std::chrono_literals;
using InterfaceReactive = BancLivret;

TEST_F(InterfaceReactive, LaFenetreRepondPendantQueLeCatalogueSeFaitAttendre) {
    Servir(kRecettesAvecMaj, kBoutique7);
    // Tout le texte des recettes sauf son dernier octet, puis 3 s de silence.
    serveur.Ralentir(kDossierCatalogue + "RecettesOrthalis", kRecettesAvecMaj.size() - 1, 3s);
    Execution e(ModeExecution::Ordinaire);
    ASSERT_TRUE(e.livret.Preparer());
    e.livret.show();

    QElapsedTimer chrono;
    chrono.start();
    e.livret.button(QWizard::CommitButton)->click();
    EXPECT_LT(chrono.elapsed(), 1000); // le clic rend la main aussitôt
    // La boucle d'événements tourne : une minuterie à zéro part, et une requête
    // d'accessibilité est servie, bien avant la fin de l'attente.
    bool servie = false;
    QTimer::singleShot(0, [&] { servie = true; });
    ASSERT_TRUE(Attendre([&] { return servie; }, 1000));
    auto* accessible = QAccessible::queryAccessibleInterface(&e.livret);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->text(QAccessible::Name), "Emporteur");
    EXPECT_LT(chrono.elapsed(), 2000);
    // Le curseur d'attente est celui de l'assistant seul, et Suivant est indisponible.
    EXPECT_EQ(e.livret.cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(e.livret.button(QWizard::CommitButton)->isEnabled());

    ASSERT_TRUE(Attendre([&] { return e.livret.currentId() == fenetres::kPageListeVersion; }));
    EXPECT_GE(chrono.elapsed(), 2500); // l'attente du serveur a bien eu lieu
    EXPECT_EQ(e.livret.cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(serveur.Requetes(kDossierCatalogue + "RecettesOrthalis"), 1);
}

TEST_F(InterfaceReactive, UneBoiteQuiAttendGardeLaFleche) {
    // Mise à niveau sans liste : la boîte du site inaccessible, posée depuis le travail de fond.
    serveur.RepondreStatut("/ingredients.php", 404);
    Execution e(ModeExecution::Ordinaire);
    ASSERT_TRUE(e.livret.Preparer());
    e.livret.show();
    std::vector<Qt::CursorShape> formes;
    bool surcharge = false;
    automate.Quand([](QWidget* f) { return TexteBoite(f).startsWith("Un problème empêche"); },
                   [&](QWidget* f) {
                       formes.push_back(f->cursor().shape());
                       surcharge = QApplication::overrideCursor() != nullptr;
                       if (auto* ok = static_cast<fenetres::BoiteMessage*>(f)->Bouton(Reponse::Ok))
                           ok->click();
                   });
    e.livret.page(fenetres::kPageBienvenue)->findChildren<QAbstractButton*>()[1]->click();
    e.livret.button(QWizard::CommitButton)->click();
    ASSERT_TRUE(Attendre([&] { return automate.EnAttente() == 0; }));
    // La page reste, rendue à l'utilisateur, sans curseur d'attente.
    ASSERT_TRUE(Attendre([&] { return e.livret.button(QWizard::CommitButton)->isEnabled(); }));
    EXPECT_EQ(formes, std::vector<Qt::CursorShape>{Qt::ArrowCursor});
    EXPECT_FALSE(surcharge);
    EXPECT_EQ(e.livret.currentId(), fenetres::kPageBienvenue);
    EXPECT_EQ(e.livret.cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(automate.Inattendues().empty());
}

TEST_F(InterfaceReactive, LAvisEtLaQuestionGardentLaFleche) {
    // Mode 2 : l'avis (du nouveau), puis, sans nouveauté, la question « quand même ».
    struct Cas {
        std::string recettes, boutique;
        bool avis;
    };
    for (const Cas& c :
         {Cas{kRecettesAvecMaj, kBoutique7, true}, Cas{kRecettesSansMaj, kBoutique6, false}}) {
        Servir(c.recettes, c.boutique);
        Execution e(ModeExecution::MajPlusMan);
        std::vector<bool> fleches;
        automate.Quand(
            [&](QWidget* f) {
                return c.avis ? qobject_cast<fenetres::MajAutoDialogueChoix*>(f) != nullptr
                              : TexteBoite(f).contains("est la plus récente");
            },
            [&](QWidget* f) {
                fleches.push_back(QApplication::overrideCursor() == nullptr &&
                                  f->cursor().shape() == Qt::ArrowCursor);
                // « Plus tard » pour l'avis, Non pour la question.
                if (auto* boite = qobject_cast<fenetres::BoiteMessage*>(f)) {
                    boite->Bouton(Reponse::Non)->click();
                    return;
                }
                for (auto* b : f->findChildren<QPushButton*>())
                    if (b->text() == "Plus tard") b->click();
            });
        e.livret.Preparer();
        EXPECT_EQ(automate.EnAttente(), 0u);
        EXPECT_EQ(fleches, std::vector<bool>{true}) << c.avis;
    }
    EXPECT_TRUE(automate.Inattendues().empty());
}

// Suivant, puis Échap pendant que le serveur fait attendre le catalogue 8 s.
const char* const kScenarioAnnuler = R"SH(
"$PROGRAMME" & pid=$!
id=$(timeout 30 xdotool search --sync --name "^Emporteur\$" | head -n 1)
[ -n "$id" ] || { kill $pid; echo "fenêtre introuvable"; exit 3; }
xdotool windowfocus --sync $id key Return
for _ in $(seq 50); do [ -s "$REQUETE" ] && break; sleep 0.1; done
[ -s "$REQUETE" ] || { kill $pid; echo "catalogue jamais demandé"; exit 5; }
debut=$(date +%s%N)
xdotool windowfocus --sync $id key Escape
for _ in $(seq 200); do kill -0 $pid 2>/dev/null || break; sleep 0.05; done
kill -0 $pid 2>/dev/null && { kill $pid; echo "toujours ouvert"; exit 4; }
wait $pid; code=$?
echo "fin en $(( ($(date +%s%N) - debut) / 1000000 )) ms, code $code"
)SH";

TEST_F(InterfaceReactive, AnnulerPendantLAttenteDuCatalogueFinitLeProgrammeVite) {
    Servir(kRecettesAvecMaj, kBoutique7);
    serveur.Ralentir(kDossierCatalogue + "RecettesOrthalis", kRecettesAvecMaj.size() - 1, 8s);
    // Le script voit que la requête est arrivée par ce fichier, écrit depuis ce processus.
    const std::string requete = env.Racine() / "requete";
    std::atomic<bool> fini{false};
    std::thread guetteur([&] {
        while (!fini && serveur.Requetes(kDossierCatalogue + "RecettesOrthalis") == 0)
            std::this_thread::sleep_for(20ms);
        EcrireFichier(requete, "oui");
    });
    const auto r = Executer(
        "xvfb-run", {"-a", "-s", "-screen 0 1024x768x24", "sh", "-c", kScenarioAnnuler},
        {{"PROGRAMME", EMPORTEUR_PROGRAMME}, {"REQUETE", requete}, {"QT_QPA_PLATFORM", "xcb"}});
    fini = true;
    guetteur.join();
    ASSERT_EQ(r.code, 0) << r.sortie << r.erreurs;
    const auto fin = r.sortie.find("fin en ");
    ASSERT_NE(fin, std::string::npos) << r.sortie;
    const int ms = std::stoi(r.sortie.substr(fin + 7));
    EXPECT_LT(ms, 2000) << r.sortie;
    EXPECT_NE(r.sortie.find("code 0"), std::string::npos) << r.sortie;
}

} // namespace
} // namespace emporteur::test
