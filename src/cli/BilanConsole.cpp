#include "cli/BilanConsole.h"

#include "download/FormaterTaille.h"

#include <cstdio>
#include <nlohmann/json.hpp>

namespace emporteur::cli {

namespace {
std::string Secondes(double s) {
    char tampon[32];
    std::snprintf(tampon, sizeof tampon, "%.1f", s);
    std::string texte = tampon;
    for (auto& c : texte)
        if (c == '.') c = ',';
    return texte;
}

// Un fichier que la tâche n'a pas atteint (échec avant lui) n'a pas de bilan.
Progression::BilanFichier BilanDe(const std::vector<Progression::BilanFichier>& bilans,
                                  std::size_t i) {
    return i < bilans.size() ? bilans[i] : Progression::BilanFichier{};
}
} // namespace

std::string LigneBilan(const Ingredient& fichier, const Progression::BilanFichier& bilan) {
    std::string octets, mega;
    FormaterTailleLongue(bilan.OctetsRecus, octets, mega);
    return fichier.NomLocal + " : " + (fichier.EstReussi ? "Réussi" : "Échec") + " (" +
           std::to_string(bilan.SegmentsRecus) + " segments reçus, " +
           std::to_string(bilan.SegmentsPresents) + " déjà présents, " + mega + " Mo en " +
           Secondes(bilan.Secondes) + " s)";
}

std::string TexteBilan(const EnsembleFichiers& ensemble,
                       const std::vector<Progression::BilanFichier>& bilans) {
    std::string texte;
    for (std::size_t i = 0; i < ensemble.Fichiers.size(); ++i)
        texte += LigneBilan(*ensemble.Fichiers[i], BilanDe(bilans, i)) + "\n";
    return texte;
}

std::string JsonBilan(const EnsembleFichiers& ensemble,
                      const std::vector<Progression::BilanFichier>& bilans, int code) {
    auto fichiers = nlohmann::json::array();
    for (std::size_t i = 0; i < ensemble.Fichiers.size(); ++i) {
        const auto& f = *ensemble.Fichiers[i];
        const auto b = BilanDe(bilans, i);
        fichiers.push_back({{"nom", f.NomLocal},
                            // Après Ctrl-C, un fichier interrompu paraît réussi à la tâche.
                            {"resultat", EstCodeArret(code) ? "annule"
                                         : f.EstReussi       ? "reussi"
                                                             : "echec"},
                            {"octetsRecus", b.OctetsRecus},
                            {"segmentsRecus", b.SegmentsRecus},
                            {"segmentsPresents", b.SegmentsPresents},
                            {"secondes", b.Secondes}});
    }
    const nlohmann::json sortie = {{"code", code}, {"fichiers", fichiers}};
    return sortie.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

} // namespace emporteur::cli
