#include "fenetres/UnitesDialogue.h"

#include <QAbstractScrollArea>
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
    auto* etiquette = qobject_cast<QLabel*>(controle);
    // Un texte d'une ligne dans le modèle reste sur une ligne : il s'élargit plutôt que
    // de passer à la ligne sur le contrôle d'en dessous.
    if (etiquette && etiquette->wordWrap() && cy <= 10) etiquette->setWordWrap(false);
    if (etiquette && etiquette->wordWrap()) {
        const int hauteur = etiquette->heightForWidth(r.width());
        if (hauteur > r.height()) r.setHeight(hauteur);
    } else if (qobject_cast<QAbstractScrollArea*>(controle)) {
        // Une zone qui défile garde la taille du modèle : son contenu défile.
    } else if (!etiquette) {
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

QLabel* TexteStatique(QWidget* parent, const QString& texte, bool bordure) {
    auto* etiquette = new QLabel(texte, parent);
    etiquette->setWordWrap(true);
    etiquette->setTextFormat(Qt::PlainText);
    etiquette->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (bordure) etiquette->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return etiquette;
}

} // namespace emporteur::fenetres
