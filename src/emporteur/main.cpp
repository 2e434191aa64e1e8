// emporteur : l'assistant à fenêtres.
#include "commun/ModeExecution.h"
#include "fenetres/Demarrage.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    return emporteur::fenetres::Demarrer(emporteur::LigneCommande(argc, argv));
}
