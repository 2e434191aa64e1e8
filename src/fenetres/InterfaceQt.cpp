#include "fenetres/InterfaceQt.h"

#include "fenetres/BoiteMessage.h"
#include "fenetres/DialogueIdentifiants.h"
#include "fenetres/TexteQt.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QThread>
#include <QUrl>

namespace emporteur::fenetres {

namespace {
QUrl AdresseOuFichier(const std::string& cible) {
    const QString texte = Q(cible);
    if (texte.contains("://")) return QUrl(texte);
    return QUrl::fromLocalFile(texte);
}
} // namespace

InterfaceQt::InterfaceQt() {
    // Chaque question déposée réveille la boucle d'événements, qui la sert.
    guichet_.FixerReveil([this] {
        if (auto* application = QCoreApplication::instance())
            QMetaObject::invokeMethod(
                application, [this] { guichet_.Servir(); }, Qt::QueuedConnection);
    });
}

bool InterfaceQt::SurFilInterface(const std::function<void()>& travail) {
    auto* application = QCoreApplication::instance();
    if (!application || QThread::currentThread() == application->thread()) {
        travail();
        return true;
    }
    return guichet_.Poser(travail);
}

void InterfaceQt::RefuserQuestionsEnAttente() {
    guichet_.Refuser();
}

Reponse InterfaceQt::BoiteMessage(const std::string& texte, const std::string& titre,
                                  unsigned style) {
    Reponse reponse = Reponse::IDCANCEL; // une question refusée vaut Annuler
    SurFilInterface(
        [&] { reponse = fenetres::BoiteMessage(Q(texte), Q(titre), style).Executer(); });
    return reponse;
}

bool InterfaceQt::DemanderIdentifiants(const std::string& adresse, bool mandataire,
                                       std::string& utilisateur, std::string& motDePasse) {
    bool accepte = false;
    SurFilInterface([&] {
        DialogueIdentifiants dialogue(Q(adresse), mandataire);
        accepte = dialogue.exec() == QDialog::Accepted;
        if (accepte) {
            utilisateur = dialogue.Utilisateur().toStdString();
            motDePasse = dialogue.MotDePasse().toStdString();
        }
    });
    return accepte;
}

void InterfaceQt::Ouvrir(const std::string& cible) {
    SurFilInterface([&] { QDesktopServices::openUrl(AdresseOuFichier(cible)); });
}

void InterfaceQt::Explorer(const std::string& dossier) {
    SurFilInterface([&] { QDesktopServices::openUrl(QUrl::fromLocalFile(Q(dossier))); });
}

bool InterfaceQt::ChoisirDossier(const std::string& titre, std::string& chemin) {
    QString choisi;
    SurFilInterface([&] {
        choisi = QFileDialog::getExistingDirectory(nullptr, Q(titre), Q(chemin),
                                                   QFileDialog::ShowDirsOnly);
    });
    if (choisi.isEmpty()) return false;
    chemin = choisi.toStdString();
    return true;
}

bool InterfaceQt::MettreAuPremierPlan(const std::string& titre) {
    bool trouve = false;
    SurFilInterface([&] { trouve = MettreAuPremierPlanX11(titre); });
    return trouve;
}

void InterfaceQt::TerminerProcessus(int code) {
    // Le livret se ferme et Demarrer rend ce code ; l'appelant remonte en échec.
    code_ = code;
    if (fin_) SurFilInterface([this] { fin_(); });
}

} // namespace emporteur::fenetres
