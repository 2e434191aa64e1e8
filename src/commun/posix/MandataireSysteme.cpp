// Le mandataire du système sous Linux : les variables d'environnement, comme libcurl.
#include "commun/Mandataire.h"

#include <cstdlib>
#include <initializer_list>

namespace emporteur {

namespace {
// Première variable présente et non vide.
std::string PremiereVariable(std::initializer_list<const char*> noms) {
    for (const char* nom : noms)
        if (const char* valeur = std::getenv(nom); valeur && *valeur) return valeur;
    return {};
}
} // namespace

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
