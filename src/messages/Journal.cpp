#include "messages/Journal.h"

#include "foundation/DossiersUtilisateur.h"
#include "foundation/Fichiers.h"
#include "foundation/InfoVersion.h"
#include "foundation/InterfaceUtilisateur.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace emporteur {

namespace {
const char* Etiquette(unsigned style) {
    switch (style & style::MASQUE_ICONE) {
    case MB_ICONQUESTION:
        return "(Question)";
    case MB_ICONHAND:
        return "(ALERTE)";
    case MB_ICONEXCLAMATION:
        return "(Attention)";
    case MB_ICONASTERISK:
        return "(Information)";
    default:
        return nullptr;
    }
}

std::string MotReponse(Reponse identifiant) {
    switch (identifiant) {
    case Reponse::Ok:
        return "Ok\t";
    case Reponse::Oui:
        return "Oui\t";
    case Reponse::Non:
        return "Non\t";
    case Reponse::Annuler:
        return "Cancel\t";
    case Reponse::Abandonner:
        return "Annuler\t";
    case Reponse::Reessayer:
        return "Réessayer\t";
    default:
        return std::to_string(static_cast<int>(identifiant)) + "\t";
    }
}

// Une seule écriture par ligne en O_APPEND, sous verrou consultatif : deux copies
// qui journalisent ensemble ne mêlent jamais leurs lignes.
void EcrireTout(int fd, const std::string& ligne) {
    ::flock(fd, LOCK_EX);
    std::size_t ecrit = 0;
    while (ecrit < ligne.size()) {
        const ssize_t n = ::write(fd, ligne.data() + ecrit, ligne.size() - ecrit);
        if (n <= 0) break;
        ecrit += static_cast<std::size_t>(n);
    }
    ::fdatasync(fd);
    ::flock(fd, LOCK_UN);
}
} // namespace

std::string Horodatage() {
    const auto maintenant = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(maintenant);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(maintenant.time_since_epoch())
            .count() %
        1000;
    std::tm local{};
    ::localtime_r(&t, &local);
    char tampon[64];
    std::snprintf(tampon, sizeof tampon, "20%02d/%02d/%02d\t%02d:%02d:%02d.%04u\t",
                  local.tm_year % 100, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                  local.tm_sec, static_cast<unsigned>(ms));
    return tampon;
}

std::string CorpsLigneJournal(unsigned style, const std::string& texte, Reponse identifiant) {
    std::string ligne;
    if (const char* etiquette = Etiquette(style)) ligne += etiquette;
    ligne += "\tréponse=" + MotReponse(identifiant) + "\"";
    for (const char c : texte)
        ligne += c == '\r' ? '\t' : c;
    return ligne + "\"\r\n";
}

std::string Journal::CheminFichier() {
    std::string nom;
    NomProduitProgramme(nom, 1024);
    return DossierDonneesApplication() + "/Mervane/Orthalis/" + nom + ".log";
}

bool Journal::Ouvrir() {
    tente_ = true;
    const std::string dossier = DossierDonneesApplication() + "/Mervane/Orthalis";
    if (!DossierExiste(dossier)) CreerDossier(dossier);
    descripteur_ = ::open(CheminFichier().c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    return descripteur_ >= 0;
}

void Journal::EcrireLigne(unsigned style, const std::string& texte, Reponse identifiant) {
    if (descripteur_ < 0 && (tente_ || !Ouvrir())) return;
    const std::string debut = Etiquette(style) ? Horodatage() : std::string();
    EcrireTout(descripteur_, debut + CorpsLigneJournal(style, texte, identifiant));
}

Journal::~Journal() {
    if (descripteur_ >= 0) ::close(descripteur_);
}

Journal& Journal::DuProcessus() {
    static Journal journal;
    return journal;
}

} // namespace emporteur
