#pragma once
// L'outil de calcul des listes CRC de l'administrateur, ouvert par « /a ». Encore
// provisoire : la fenêtre titrée « Generation des CRC », qui se ferme.

#include <QDialog>

namespace emporteur::fenetres {

class ModeAdmin : public QDialog {
    Q_OBJECT
  public:
    explicit ModeAdmin(QWidget* parent = nullptr);
};

} // namespace emporteur::fenetres
