// L'outil CRC à fenêtre : « Calculer » disponible selon la règle de l'outil, la liste
// et la taille affichées, et « Terminé » qui arrête proprement un calcul en cours.
#include "fenetres/ModeAdmin.h"
#include "Automate.h"
#include "crctool/ListeCrc.h"
#include "outils/DossierTemporaire.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <filesystem>

namespace emporteur::test {
namespace {

class OutilCrc : public ::testing::Test {
  protected:
    OutilCrc()
        : outil([this]() -> std::optional<QString> {
              if (choix.empty()) return std::nullopt;
              const QString c = choix.front(); // vide : l'utilisateur renonce
              choix.pop_front();
              if (c.isEmpty()) return std::nullopt;
              return c;
          }) {}
    QPushButton* Bouton(const QString& texte) {
        for (auto* b : outil.findChildren<QPushButton*>())
            if (b->text() == texte) return b;
        return nullptr;
    }
    void Taille(const QString& texte) { outil.findChild<QLineEdit*>("taille")->setText(texte); }
    QString Liste() { return outil.findChild<QPlainTextEdit*>("liste")->toPlainText(); }
    QString Total() { return outil.findChild<QLineEdit*>("total")->text(); }
    bool Calculer() { return Bouton("Calculer")->isEnabled(); }

    DossierTemporaire dossier;
    std::deque<QString> choix;
    fenetres::ModeAdmin outil;
};

TEST_F(OutilCrc, CalculerSuitLaTailleEtLeChoixDuFichier) {
    const QString fichier = QString::fromStdString(dossier / "f");
    EcrireFichier(fichier.toStdString(), "0123456789");
    EXPECT_EQ(outil.windowTitle(), "Generation des CRC");
    EXPECT_FALSE(Calculer());
    choix = {fichier, QString()};
    Bouton("Parcourir...")->click();
    EXPECT_FALSE(Calculer()); // pas encore de taille
    const std::pair<QString, bool> saisies[] = {{"1000", true},  {"", true},   {"abc", false},
                                                {"12abc", true}, {"-5", true}, {"0", false}};
    for (const auto& [texte, disponible] : saisies) {
        Taille(texte);
        EXPECT_EQ(Calculer(), disponible) << texte.toStdString();
    }
    Taille("4");
    Bouton("Calculer")->click();
    ASSERT_TRUE(Attendre([&] { return !Total().isEmpty(); }));
    EXPECT_EQ(Total(), "10");
    ListeCrc attendue;
    std::string erreur;
    ASSERT_TRUE(CalculerListeCrc(fichier.toStdString(), 4, attendue, erreur));
    EXPECT_EQ(Liste().toStdString(), attendue.Texte);
    EXPECT_EQ(Liste().split(' ').size(), 3);
    // Un second choix abandonné : le chemin reste montré, mais « Calculer » s'éteint.
    Bouton("Parcourir...")->click();
    EXPECT_FALSE(Calculer());
    EXPECT_EQ(outil.findChild<QLineEdit*>("fichier")->text(), fichier);
}

TEST_F(OutilCrc, UnFichierDisparuDonneUnMessagePasUneListe) {
    const std::string fichier = dossier / "parti";
    EcrireFichier(fichier, "abc");
    choix = {QString::fromStdString(fichier)};
    Bouton("Parcourir...")->click();
    Taille("2");
    std::filesystem::remove(fichier);
    Bouton("Calculer")->click();
    ASSERT_TRUE(Attendre([&] { return !Liste().isEmpty(); }));
    EXPECT_TRUE(Total().isEmpty());
    EXPECT_FALSE(Liste().front().isDigit()) << Liste().toStdString();
}

TEST_F(OutilCrc, TermineArreteUnCalculEnCours) {
    // Un grand fichier creux : long à lire, instantané à créer.
    const std::string fichier = dossier / "grand";
    EcrireFichier(fichier, "");
    std::filesystem::resize_file(fichier, 3ull << 30);
    choix = {QString::fromStdString(fichier)};
    Bouton("Parcourir...")->click();
    Taille("1000000");
    outil.show();
    Bouton("Calculer")->click();
    EXPECT_TRUE(outil.CalculEnCours());
    QTest::qWait(100);
    const auto debut = std::chrono::steady_clock::now();
    Bouton("Terminé")->click();
    EXPECT_LT(std::chrono::steady_clock::now() - debut, std::chrono::seconds(2));
    EXPECT_FALSE(outil.CalculEnCours());
    EXPECT_FALSE(outil.isVisible());
    EXPECT_TRUE(Liste().isEmpty());
}

} // namespace
} // namespace emporteur::test
