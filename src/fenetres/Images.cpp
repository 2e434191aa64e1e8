#include "fenetres/Images.h"

#include <QBitmap>

namespace emporteur::fenetres {

namespace {
#include "images/icone_16.xpm"
#include "images/icone_32.xpm"
#include "images/icone_48.xpm"
#include "images/image_accueil.xpm"
} // namespace

QIcon IconeProgramme() {
    QIcon icone;
    for (const char* const* image : {icone_16, icone_32, icone_48})
        icone.addPixmap(QPixmap(image));
    return icone;
}

QPixmap ImageAccueil() {
    QPixmap image(image_accueil);
    image.setMask(image.createMaskFromColor(QColor(255, 0, 255), Qt::MaskInColor));
    return image;
}

} // namespace emporteur::fenetres
