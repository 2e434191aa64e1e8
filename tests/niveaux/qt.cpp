// Aucun niveau du noyau ne voit Qt.
#include <QtCore/QString>
