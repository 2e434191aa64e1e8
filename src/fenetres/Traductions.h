#pragma once
// Les textes de Qt lui-même (sélecteurs de fichiers, menus des zones de texte, noms
// accessibles) dans la langue du système quand elle est le français, sinon en
// français quand même : les textes du programme le sont toujours.

#include <QLocale>
#include <QString>

class QCoreApplication;

namespace emporteur::fenetres {

// La langue des traductions de Qt pour cette langue du système.
QLocale LangueDesTraductions(const QLocale& systeme);

// Charge les traductions de Qt (qtbase) pour `systeme` et les installe dans
// `application`. Faux si elles manquent : Qt reste alors en anglais.
bool InstallerTraductions(QCoreApplication& application,
                          const QLocale& systeme = QLocale::system());

} // namespace emporteur::fenetres
