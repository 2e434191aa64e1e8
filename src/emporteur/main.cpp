// emporteur : l'assistant à fenêtres.
#include "commun/ClesPubliques.h"
#include "commun/ModeExecution.h"
#include "fenetres/Demarrage.h"
#include "fenetres/Traductions.h"

#include <QApplication>
#include <cstdio>
#include <string_view>

#ifndef EMPORTEUR_VERSION
#error "EMPORTEUR_VERSION doit venir de la construction"
#endif

namespace {
constexpr const char* kAide =
    "Usage : emporteur [/a | MajDiscrete | MajPlusMan]\n"
    "        emporteur --help | -h | --version\n\n"
    "Sans argument (ou avec tout autre mot), ouvre l'assistant de téléchargement des\n"
    "mises à jour d'Orthalis.\n"
    "  /a           outil de calcul des listes CRC (administrateur)\n"
    "  MajDiscrete  vérification automatique : rien ne s'affiche sans nouveauté\n"
    "  MajPlusMan   vérification automatique, avec une question sans nouveauté\n"
    "Voir aussi emporteur(1) et emporteur-cli(1).\n";
} // namespace

int main(int argc, char** argv) {
    // Les deux conventions de Linux passent avant le mode d'exécution, sans fenêtre ;
    // seules, car tout autre mot ouvre l'assistant ordinaire.
    if (argc == 2) {
        const std::string_view mot = argv[1];
        if (mot == "--help" || mot == "-h") {
            std::fputs(kAide, stdout);
            return 0;
        }
        if (mot == "--version") {
            std::puts("emporteur " EMPORTEUR_VERSION);
            std::puts(emporteur::EtatSignatures().c_str());
            return 0;
        }
    }
    QApplication application(argc, argv);
    emporteur::fenetres::InstallerTraductions(application);
    return emporteur::fenetres::Demarrer(emporteur::LigneCommande(argc, argv));
}
