#include "cli/InterfaceConsole.h"

#include "cli/Console.h"

#include <cstdlib>

namespace emporteur {

namespace {
std::string LireLigne() {
    std::string ligne;
    if (!cli::LireLigne(ligne)) return {};
    return ligne;
}

// Le mot de passe, lu sans écho sur un terminal ; l'invite ne paraît qu'une fois l'écho
// coupé, pour qu'une frappe rapide ne s'affiche jamais.
std::string LireSecret(std::FILE* sortie) {
    const cli::EchoCoupe sansEcho;
    std::fprintf(sortie, "Mot de passe : ");
    std::fflush(sortie);
    std::string ligne = LireLigne();
    if (sansEcho.Coupe()) std::fputc('\n', sortie); // l'Entrée tapée n'a pas été renvoyée
    return ligne;
}

// Réponse tapée : o(ui), n(on), a(nnuler)… ; vide ou inconnue : le défaut.
Reponse ReponseTapee(const std::string& ligne, Reponse defaut) {
    if (ligne.empty()) return defaut;
    switch (ligne[0]) {
    case 'o':
    case 'O':
        return Reponse::Oui;
    case 'n':
    case 'N':
        return Reponse::Non;
    case 'a':
    case 'A':
        return Reponse::Annuler;
    case 'r':
    case 'R':
        return Reponse::Reessayer;
    default:
        return defaut;
    }
}
} // namespace

void InterfaceConsole::FixerIdentifiants(std::string utilisateur, std::string motDePasse) {
    identifiants_ = std::make_pair(std::move(utilisateur), std::move(motDePasse));
}

Reponse InterfaceConsole::BoiteMessage(const std::string& texte, const std::string& titre,
                                       unsigned styleBoite) {
    std::fprintf(sortie_, "%s%s%s\n", titre.c_str(), titre.empty() ? "" : " : ", texte.c_str());
    std::fflush(sortie_); // une console Windows garde ses flux en tampon
    const Reponse defaut = reponseImposee_.value_or(ReponseParDefaut(styleBoite));
    if (!saisie_ || (styleBoite & style::MASQUE_BOUTONS) == MB_OK) return defaut;
    std::fprintf(sortie_, "Réponse (o/n, Entrée pour le choix par défaut) : ");
    std::fflush(sortie_);
    return ReponseTapee(LireLigne(), defaut);
}

bool InterfaceConsole::DemanderIdentifiants(const std::string& adresse, bool mandataire,
                                            std::string& utilisateur, std::string& motDePasse) {
    std::fprintf(sortie_, "%s demande une authentification : %s\n",
                 mandataire ? "Le serveur mandataire" : "Le serveur", adresse.c_str());
    if (identifiants_) {
        utilisateur = identifiants_->first;
        motDePasse = identifiants_->second;
        return true;
    }
    if (!saisie_ && !(terminal_ && cli::EstTerminal(stdin))) return false;
    std::fprintf(sortie_, "Utilisateur : ");
    std::fflush(sortie_);
    utilisateur = LireLigne();
    motDePasse = LireSecret(sortie_);
    return !utilisateur.empty();
}

// La console n'ouvre rien elle-même : elle montre ce qu'il faudrait ouvrir.
bool InterfaceConsole::Ouvrir(const std::string& cible) {
    std::fprintf(sortie_, "À ouvrir : %s\n", cible.c_str());
    return true;
}

bool InterfaceConsole::Explorer(const std::string& dossier) {
    std::fprintf(sortie_, "Dossier : %s\n", dossier.c_str());
    return true;
}

bool InterfaceConsole::ChoisirDossier(const std::string& titre, std::string& chemin) {
    if (!saisie_) return false;
    std::fprintf(sortie_, "%s ", titre.c_str());
    std::fflush(sortie_);
    chemin = LireLigne();
    return !chemin.empty();
}

void InterfaceConsole::TerminerProcessus(int code) {
    std::fflush(nullptr);
    std::exit(codeDeFin_.value_or(code));
}

} // namespace emporteur
