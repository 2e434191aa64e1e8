#pragma once
// Conversion des unités de dialogue des modèles en pixels, d'après la police du
// dialogue : x × largeur moyenne d'un caractère / 4, y × hauteur / 8. Les fenêtres
// gardent ainsi les proportions de leur modèle et grandissent avec la police.

#include <QFont>
#include <QRect>
#include <QSize>

class QLabel;
class QWidget;

namespace emporteur::fenetres {

class UnitesDialogue {
  public:
    explicit UnitesDialogue(const QFont& police);

    int X(int x) const { return x * largeurMoyenne_ / 4; }
    int Y(int y) const { return y * hauteur_ / 8; }
    QRect Rectangle(int x, int y, int cx, int cy) const { return {X(x), Y(y), X(cx), Y(cy)}; }
    QSize Taille(int cx, int cy) const { return {X(cx), Y(cy)}; }

    // Place `controle` à sa position du modèle. Un texte qui n'y tiendrait pas
    // (police plus large que celle du modèle) élargit ou allonge le contrôle plutôt
    // que d'être coupé.
    void Placer(QWidget* controle, int x, int y, int cx, int cy) const;

  private:
    int largeurMoyenne_;
    int hauteur_;
};

// Un texte statique comme ceux des modèles : en haut à gauche, passant à la ligne,
// sans interprétation du texte ; `bordure` : le cadre creux des textes bordés.
QLabel* TexteStatique(QWidget* parent, const QString& texte, bool bordure = false);

} // namespace emporteur::fenetres
