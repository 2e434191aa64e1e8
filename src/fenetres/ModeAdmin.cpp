#include "fenetres/ModeAdmin.h"

#include "fenetres/Images.h"
#include "fenetres/UnitesDialogue.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace emporteur::fenetres {

namespace {
std::optional<QString> OuvrirFichier() {
    // Titré comme le dialogue d'ouverture du système en français.
    const QString chemin = QFileDialog::getOpenFileName(nullptr, "Ouvrir");
    if (chemin.isEmpty()) return std::nullopt;
    return chemin;
}

QLineEdit* Zone(QWidget* parent, bool lectureSeule, const QString& nom) {
    auto* zone = new QLineEdit(parent);
    zone->setReadOnly(lectureSeule);
    zone->setAccessibleName(nom);
    return zone;
}
} // namespace

ModeAdmin::ModeAdmin(ChoixFichier choisirFichier, QWidget* parent)
    : QDialog(parent),
      choisirFichier_(choisirFichier ? std::move(choisirFichier) : ChoixFichier(OuvrirFichier)),
      taille_(Zone(this, false, "Taille des segments (en octets)")),
      fichier_(Zone(this, true, "Fichier")), calculer_(new QPushButton("Calculer", this)),
      liste_(new QPlainTextEdit(this)), total_(Zone(this, true, "Taille totale en octets")) {
    setWindowTitle("Generation des CRC");
    setWindowIcon(IconeProgramme());
    const UnitesDialogue unites(font());
    setFixedSize(unites.Taille(239, 208));
    auto* etiquetteTaille = new QLabel("Taille des segments (en octets) :", this);
    auto* etiquetteTotal = new QLabel("Taille totale en octets :", this);
    auto* parcourir = new QPushButton("Parcourir...", this);
    auto* termine = new QPushButton("Terminé", this);
    etiquetteTaille->setBuddy(taille_);
    etiquetteTotal->setBuddy(total_);
    liste_->setReadOnly(true);
    liste_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    liste_->setAccessibleName("Liste des CRC");
    calculer_->setDefault(true);
    calculer_->setEnabled(false);
    taille_->setObjectName("taille");
    fichier_->setObjectName("fichier");
    liste_->setObjectName("liste");
    total_->setObjectName("total");
    unites.Placer(etiquetteTaille, 7, 9, 112, 8);
    unites.Placer(taille_, 122, 7, 60, 12);
    unites.Placer(fichier_, 7, 26, 175, 12);
    unites.Placer(parcourir, 186, 25, 46, 14);
    unites.Placer(liste_, 7, 45, 225, 118);
    unites.Placer(etiquetteTotal, 7, 170, 85, 8);
    unites.Placer(total_, 95, 168, 87, 12);
    unites.Placer(calculer_, 128, 188, 50, 14);
    unites.Placer(termine, 182, 188, 50, 14);
    // Au clavier : la taille, le fichier, le calcul, puis les résultats.
    setTabOrder(taille_, parcourir);
    setTabOrder(parcourir, calculer_);
    setTabOrder(calculer_, termine);
    setTabOrder(termine, liste_);
    setTabOrder(liste_, total_);
    setTabOrder(total_, fichier_);
    connect(taille_, &QLineEdit::textChanged, this, &ModeAdmin::TailleModifiee);
    connect(parcourir, &QPushButton::clicked, this, &ModeAdmin::Parcourir);
    connect(calculer_, &QPushButton::clicked, this, &ModeAdmin::Calculer);
    connect(termine, &QPushButton::clicked, this, &QDialog::reject);
    connect(this, &QDialog::finished, this, &ModeAdmin::ArreterCalcul);
}

ModeAdmin::~ModeAdmin() {
    ArreterCalcul();
}

void ModeAdmin::TailleModifiee(const QString& texte) {
    etat_.TailleModifiee(texte.toStdString());
    calculer_->setEnabled(etat_.CalculerDisponible() && !CalculEnCours());
}

void ModeAdmin::Parcourir() {
    const auto choisi = choisirFichier_();
    etat_.FichierChoisi(choisi ? std::optional<std::string>(choisi->toStdString()) : std::nullopt);
    if (choisi) fichier_->setText(*choisi);
    calculer_->setEnabled(etat_.CalculerDisponible() && !CalculEnCours());
}

void ModeAdmin::Calculer() {
    if (CalculEnCours() || !etat_.CalculerDisponible()) return;
    calculer_->setEnabled(false);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    annulation_ = false;
    calcul_ = std::thread([this, chemin = etat_.Chemin(), taille = etat_.TailleSegment()] {
        const TextesCalculCrc textes = CalculerTextesCrc(chemin, taille, &annulation_);
        if (annulation_) return;
        QMetaObject::invokeMethod(
            this, [this, textes] { Resultat(textes); }, Qt::QueuedConnection);
    });
}

void ModeAdmin::Resultat(const TextesCalculCrc& textes) {
    if (calcul_.joinable()) calcul_.join();
    QApplication::restoreOverrideCursor();
    const std::string avis = textes.Avertissement.empty() ? "" : "\n\n" + textes.Avertissement;
    liste_->setPlainText(QString::fromStdString(textes.Liste + avis));
    total_->setText(QString::fromStdString(textes.Total));
    calculer_->setEnabled(etat_.CalculerDisponible());
}

void ModeAdmin::ArreterCalcul() {
    if (!calcul_.joinable()) return;
    annulation_ = true;
    calcul_.join();
    QApplication::restoreOverrideCursor();
}

} // namespace emporteur::fenetres
