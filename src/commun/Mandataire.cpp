#include "commun/Mandataire.h"

#include <charconv>

namespace emporteur {

namespace {
int ValeurHexa(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "%40" → "@" ; un % sans deux chiffres hexadécimaux reste tel quel.
std::string DecoderPourcents(const std::string& texte) {
    std::string sortie;
    for (std::size_t i = 0; i < texte.size(); ++i) {
        const int fort = texte[i] == '%' && i + 2 < texte.size() ? ValeurHexa(texte[i + 1]) : -1;
        const int faible = fort >= 0 ? ValeurHexa(texte[i + 2]) : -1;
        if (faible < 0) {
            sortie += texte[i];
            continue;
        }
        sortie += static_cast<char>(fort * 16 + faible);
        i += 2;
    }
    return sortie;
}
} // namespace

bool DecrireMandataire(const std::string& texte, MandataireDecrit& decrit) {
    decrit = {};
    std::string reste = texte;
    if (const auto schema = reste.find("://"); schema != std::string::npos)
        reste.erase(0, schema + 3);
    if (const auto barre = reste.find('/'); barre != std::string::npos) reste.erase(barre);
    // Le dernier @ : un mot de passe peut en contenir un non encodé.
    if (const auto arobase = reste.rfind('@'); arobase != std::string::npos) {
        const std::string identifiants = reste.substr(0, arobase);
        const auto deuxPoints = identifiants.find(':');
        decrit.Utilisateur = DecoderPourcents(identifiants.substr(0, deuxPoints));
        if (deuxPoints != std::string::npos)
            decrit.MotDePasse = DecoderPourcents(identifiants.substr(deuxPoints + 1));
        reste.erase(0, arobase + 1);
    }
    const auto deuxPoints = reste.rfind(':');
    const bool avecPort =
        deuxPoints != std::string::npos && reste.find(']', deuxPoints) == std::string::npos;
    decrit.Serveur = avecPort ? reste.substr(0, deuxPoints) : reste;
    if (avecPort) {
        const char* debut = reste.data() + deuxPoints + 1;
        const char* fin = reste.data() + reste.size();
        const auto [p, e] = std::from_chars(debut, fin, decrit.Port);
        if (e != std::errc() || p != fin || debut == fin || decrit.Port < 1 || decrit.Port > 65535)
            return false;
    }
    return !decrit.Serveur.empty();
}

} // namespace emporteur
