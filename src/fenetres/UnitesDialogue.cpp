#include "fenetres/UnitesDialogue.h"

#include <QFontMetrics>
#include <QLabel>
#include <QWidget>

namespace emporteur::fenetres {

UnitesDialogue::UnitesDialogue(const QFont& police) {
    const QFontMetrics mesure(police);
    // Largeur moyenne des 52 lettres, arrondie, comme les unités de dialogue d'origine.
    const int largeur =
        mesure.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    largeurMoyenne_ = (largeur / 26 + 1) / 2;
    hauteur_ = mesure.height();
}

void UnitesDialogue::Placer(QWidget* controle, int x, int y, int cx, int cy) const {
    QRect r = Rectangle(x, y, cx, cy);
    if (auto* etiquette = qobject_cast<QLabel*>(controle); etiquette && etiquette->wordWrap()) {
        const int hauteur = etiquette->heightForWidth(r.width());
        if (hauteur > r.height()) r.setHeight(hauteur);
    } else if (!qobject_cast<QLabel*>(controle)) {
        const QSize voulu = controle->sizeHint();
        if (voulu.width() > r.width()) r.setWidth(voulu.width());
        if (voulu.height() > r.height() &&
            controle->sizePolicy().verticalPolicy() != QSizePolicy::Ignored)
            r.setHeight(voulu.height());
    } else if (controle->sizeHint().width() > r.width()) {
        r.setWidth(controle->sizeHint().width());
    }
    controle->setGeometry(r);
}

} // namespace emporteur::fenetres
