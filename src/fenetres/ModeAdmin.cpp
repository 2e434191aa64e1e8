#include "fenetres/ModeAdmin.h"

#include "fenetres/Images.h"
#include "fenetres/UnitesDialogue.h"

#include <QPushButton>

namespace emporteur::fenetres {

ModeAdmin::ModeAdmin(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Generation des CRC");
    setWindowIcon(IconeProgramme());
    const UnitesDialogue unites(font());
    setFixedSize(unites.Taille(186, 60));
    auto* termine = new QPushButton("Terminé", this);
    termine->setDefault(true);
    unites.Placer(termine, 129, 39, 50, 14);
    connect(termine, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace emporteur::fenetres
