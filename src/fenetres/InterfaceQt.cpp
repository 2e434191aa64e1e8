#include "fenetres/InterfaceQt.h"

#include "fenetres/BoiteMessage.h"
#include "fenetres/DialogueIdentifiants.h"
#include "fenetres/TexteQt.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
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
    Reponse reponse = Reponse::Annuler; // une question refusée vaut Annuler
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

// openUrl rend faux quand xdg-open manque ou n'a trouvé aucun programme pour la cible.
bool InterfaceQt::Ouvrir(const std::string& cible) {
    bool ouvert = false;
    SurFilInterface([&] { ouvert = QDesktopServices::openUrl(AdresseOuFichier(cible)); });
    return ouvert;
}

bool InterfaceQt::Explorer(const std::string& dossier) {
    bool ouvert = false;
    SurFilInterface([&] { ouvert = QDesktopServices::openUrl(QUrl::fromLocalFile(Q(dossier))); });
    return ouvert;
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

bool SystemeSaitOuvrir(const std::string& chemin) {
#ifdef Q_OS_WIN
    Q_UNUSED(chemin);
    return true;
#else
    if (QStandardPaths::findExecutable("xdg-open").isEmpty()) return false;
    const QMimeType type = QMimeDatabase().mimeTypeForFile(Q(chemin));
    const bool windows = type.inherits("application/x-ms-dos-executable") ||
                         type.inherits("application/x-msi") ||
                         type.name().contains("portable-executable");
    if (!windows) return true; // un document : son programme usuel l'ouvre
    // Sans programme enregistré pour ce type, xdg-open n'aurait aucun moyen de le lancer.
    QProcess requete;
    requete.start("xdg-mime", {"query", "default", type.name()});
    if (!requete.waitForFinished(5000)) {
        requete.kill();
        requete.waitForFinished();
        return false;
    }
    return !requete.readAllStandardOutput().trimmed().isEmpty();
#endif
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
