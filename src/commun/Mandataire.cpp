#include "commun/Mandataire.h"

#include <charconv>
#include <cstdlib>
#include <initializer_list>

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
// Première variable présente et non vide.
std::string PremiereVariable(std::initializer_list<const char*> noms) {
    for (const char* nom : noms)
        if (const char* valeur = std::getenv(nom); valeur && *valeur) return valeur;
    return {};
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

bool IdentifiantsDuSysteme(const std::string& serveur, std::int32_t port, std::string& utilisateur,
                           std::string& motDePasse) {
    const char* variable = std::getenv("http_proxy");
    MandataireDecrit decrit;
    if (!variable || !DecrireMandataire(variable, decrit) || decrit.Utilisateur.empty())
        return false;
    if (decrit.Serveur != serveur || (decrit.Port != 0 && decrit.Port != port)) return false;
    utilisateur = decrit.Utilisateur;
    motDePasse = decrit.MotDePasse;
    return true;
}

bool LireProxySysteme(std::string& reglage) {
    reglage.clear();
    const char* variable = std::getenv("http_proxy");
    if (!variable) return false;
    std::string texte = variable;
    if (const auto schema = texte.find("://"); schema != std::string::npos)
        texte.erase(0, schema + 3);
    // Des identifiants ne font pas partie du nom du serveur.
    if (const auto arobase = texte.rfind('@'); arobase != std::string::npos)
        texte.erase(0, arobase + 1);
    if (!texte.empty() && texte.back() == '/') texte.pop_back();
    reglage = texte;
    return true;
}

std::string MandataireImplicite(const std::string& adresse) {
    // Mêmes variables que libcurl : http_proxy seulement en minuscules.
    const bool securise = adresse.rfind("https://", 0) == 0;
    const std::string texte =
        securise ? PremiereVariable({"https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
                 : PremiereVariable({"http_proxy", "all_proxy", "ALL_PROXY"});
    MandataireDecrit decrit;
    if (texte.empty() || !DecrireMandataire(texte, decrit)) return {};
    return "http://" + decrit.Serveur + (decrit.Port ? ":" + std::to_string(decrit.Port) : "");
}

} // namespace emporteur
