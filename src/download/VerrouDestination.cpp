#include "download/VerrouDestination.h"

#include "download/NomCache.h"

#include <cstdio>
#include <thread>

namespace emporteur {

VerrouDestination::~VerrouDestination() {
    Rendre();
}

std::string VerrouDestination::NomVerrouVoisin(const std::string& nomLocal) {
    return NomCache(nomLocal, kSuffixeVerrou);
}

// Octets sûrs gardés, les autres en %XX ; un nom trop long est abrégé et complété
// d'une empreinte (deux noms confondus ne font qu'attendre l'un l'autre).
std::string VerrouDestination::NomEncode(const std::string& nom) {
    std::string sortie;
    for (const unsigned char c : nom) {
        const bool sur = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                         (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
        if (sur) {
            sortie += static_cast<char>(c);
        } else {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", c);
            sortie += code;
        }
    }
    if (sortie.size() <= 180) return sortie;
    return sortie.substr(0, 160) + Empreinte(nom);
}

bool VerrouDestination::Essayer(const std::string& dossier, const std::string& nomLocal) {
    return Tenter(dossier, nomLocal) == 1;
}

bool VerrouDestination::Prendre(const std::string& dossier, const std::string& nomLocal,
                                const std::atomic<bool>& annule,
                                const std::function<void()>& surAttente,
                                std::chrono::milliseconds pas) {
    bool annonce = false;
    impossible_ = false;
    while (!annule.load()) {
        const int essai = Tenter(dossier, nomLocal);
        if (essai == 1) return true;
        if (essai < 0) {
            impossible_ = true;
            return false;
        }
        if (!annonce && surAttente) surAttente();
        annonce = true;
        std::this_thread::sleep_for(pas);
    }
    return false;
}

} // namespace emporteur
