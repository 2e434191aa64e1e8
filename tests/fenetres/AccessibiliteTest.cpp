// Chaque contrôle des pages et des dialogues porte un nom accessible : son texte ou,
// pour une zone d'édition ou une liste, son étiquette. Un lecteur d'écran lit ainsi
// chaque page.
#include "BancLivret.h"

#include "fenetres/BoiteMessage.h"
#include "fenetres/ModeAdmin.h"
#include "fenetres/ParametresProxy.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>

namespace emporteur::test {
namespace {

// Les contrôles visibles de `racine` sans nom accessible.
std::vector<QString> SansNom(QWidget* racine) {
    std::vector<QString> manquants;
    for (auto* w : racine->findChildren<QWidget*>()) {
        const bool controle =
            qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
            qobject_cast<QGroupBox*>(w) || qobject_cast<QScrollArea*>(w) ||
            (qobject_cast<QLabel*>(w) && !static_cast<QLabel*>(w)->text().isEmpty());
        if (!controle || !w->isVisibleTo(racine)) continue;
        auto* ui = QAccessible::queryAccessibleInterface(w);
        if (!ui || ui->text(QAccessible::Name).trimmed().isEmpty())
            manquants.push_back(QString(w->metaObject()->className()) + " " + w->objectName());
    }
    return manquants;
}

using Accessibilite = BancLivret;

TEST_F(Accessibilite, ChaqueControleDesPagesADesNoms) {
    Servir(kRecettesAvecMaj, kBoutique7);
    Execution e(ModeExecution::Ordinaire);
    ASSERT_TRUE(e.livret.Preparer());
    e.livret.show();
    for (const int id :
         {fenetres::kPageBienvenue, fenetres::kPageListeVersion, fenetres::kPageDestination}) {
        ASSERT_EQ(e.livret.currentId(), id);
        EXPECT_EQ(SansNom(e.livret.currentPage()), std::vector<QString>{}) << id;
        if (id != fenetres::kPageDestination) {
            ASSERT_TRUE(Suivant(e.livret, id == fenetres::kPageBienvenue
                                              ? fenetres::kPageListeVersion
                                              : fenetres::kPageDestination));
        }
    }
    for (const int id : {fenetres::kPageTelechargement, fenetres::kPageTerminay})
        EXPECT_EQ(SansNom(e.livret.page(id)), std::vector<QString>{}) << id;
    fenetres::ModeAdmin outil;
    EXPECT_EQ(SansNom(&outil), std::vector<QString>{});
    ParametresConnexion parametres;
    fenetres::ParametresProxy proxy(parametres);
    EXPECT_EQ(SansNom(&proxy), std::vector<QString>{});
    fenetres::MajAutoDialogueChoix avis(e.ctx, true, true, ModeExecution::MajDiscrete);
    EXPECT_EQ(SansNom(&avis), std::vector<QString>{});
}

// Une boîte de message se lit comme une alerte, et son icône dit ce qu'elle annonce.
TEST(AccessibiliteBoites, AlerteEtIconeNommee) {
    const struct {
        unsigned style;
        const char* icone;
    } cas[] = {{MB_ICONHAND, "Erreur"},
               {MB_ICONEXCLAMATION, "Avertissement"},
               {MB_ICONQUESTION, "Question"},
               {MB_ICONASTERISK, "Information"}};
    for (const auto& c : cas) {
        fenetres::BoiteMessage boite("Texte", "Emporteur", MB_OK | c.style);
        EXPECT_EQ(QAccessible::queryAccessibleInterface(&boite)->role(),
                  QAccessible::AlertMessage);
        QStringList noms;
        for (auto* image : boite.findChildren<QLabel*>())
            if (!image->pixmap().isNull()) noms << image->accessibleName();
        EXPECT_EQ(noms, QStringList{c.icone});
    }
}

} // namespace
} // namespace emporteur::test
