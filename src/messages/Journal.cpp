#include "messages/Journal.h"

#include "foundation/DossiersUtilisateur.h"
#include "foundation/Fichiers.h"
#include "foundation/InfoVersion.h"
#include "foundation/InterfaceUtilisateur.h"
#include "messages/HeureLocale.h"

#include <chrono>
#include <cstdio>
#include <ctime>

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
} // namespace

std::string Horodatage() {
    const auto maintenant = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(maintenant);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(maintenant.time_since_epoch())
            .count() %
        1000;
    const std::tm local = HeureLocale(t);
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
    return fichier_.Ouvrir(CheminFichier());
}

void Journal::EcrireLigne(unsigned style, const std::string& texte, Reponse identifiant) {
    if (!fichier_.EstOuvert() && (tente_ || !Ouvrir())) return;
    const std::string debut = Etiquette(style) ? Horodatage() : std::string();
    fichier_.Ajouter(debut + CorpsLigneJournal(style, texte, identifiant));
}

Journal::~Journal() = default;

Journal& Journal::DuProcessus() {
    static Journal journal;
    return journal;
}

} // namespace emporteur
