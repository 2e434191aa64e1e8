// emporteur : l'assistant à fenêtres.
#include "autocheck/AffichageGraphique.h"
#include "commun/ClesPubliques.h"
#include "commun/ModeExecution.h"
#include "fenetres/Demarrage.h"
#include "fenetres/Traductions.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
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
    "Sans affichage graphique joignable : une ligne sur la sortie d'erreur et le code 3.\n"
    "Voir aussi emporteur(1) et emporteur-cli(1).\n";
// Filet : si la bibliothèque graphique renonce malgré tout pendant sa mise en route
// (affichage perdu entre la vérification et la connexion), la même ligne et le même
// code qu'avant, au lieu d'un avortement.
void SansAffichage(QtMsgType type, const QMessageLogContext&, const QString&) {
    if (type != QtFatalMsg) return;
    std::fprintf(stderr, "%s\n", emporteur::kMessageSansAffichage);
    std::_Exit(emporteur::kCodeSansAffichage);
}
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
    if (!emporteur::AffichageDisponible()) {
        std::fprintf(stderr, "%s\n", emporteur::kMessageSansAffichage);
        return emporteur::kCodeSansAffichage;
    }
    const QtMessageHandler precedent = qInstallMessageHandler(SansAffichage);
    QApplication application(argc, argv);
    qInstallMessageHandler(precedent);
    emporteur::fenetres::InstallerTraductions(application);
    return emporteur::fenetres::Demarrer(emporteur::LigneCommande(argc, argv));
}
