#include "fenetres/Traductions.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace emporteur::fenetres {

QLocale LangueDesTraductions(const QLocale& systeme) {
    if (systeme.language() == QLocale::French) return systeme;
    return QLocale(QLocale::French, QLocale::France);
}

bool InstallerTraductions(QCoreApplication& application, const QLocale& systeme) {
    // Enfant de l'application : il vit aussi longtemps qu'elle.
    auto* traducteur = new QTranslator(&application);
    const QString dossier = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!traducteur->load(LangueDesTraductions(systeme), "qtbase", "_", dossier)) {
        delete traducteur;
        return false;
    }
    application.installTranslator(traducteur);
    return true;
}

} // namespace emporteur::fenetres
