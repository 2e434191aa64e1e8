#include "cli/Outils.h"

#include "assistant/RecuperationAssistee.h"
#include "catalogue/SyntaxeCatalogue.h"
#include "catalogue/VersionInstallee.h"
#include "foundation/CheminNatif.h"
#include "foundation/Texte.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace emporteur::cli {

namespace {
// Les formes courtes admises, et l'option longue qu'elles écrivent.
const std::map<std::string, std::string> kCourtes = {{"-q", "--quiet"}};

// « --opt=valeur » : `a` devient le nom, `valeur` la valeur ; vrai s'il y avait un « = ».
bool Couper(std::string& a, std::string& valeur) {
    const auto egal = a.find('=');
    if (a.rfind("--", 0) != 0 || egal == std::string::npos) return false;
    valeur = a.substr(egal + 1);
    a.resize(egal);
    return true;
}
} // namespace

bool LireOptions(const std::vector<std::string>& args, const std::set<std::string>& avecValeur,
                 const std::set<std::string>& sansValeur, Options& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string a = args[i], valeur;
        if (auto c = kCourtes.find(a); c != kCourtes.end() && sansValeur.count(c->second))
            a = c->second;
        if (a.rfind("--", 0) != 0 || a.size() == 2) {
            options.positions.push_back(a);
        } else if (Couper(a, valeur)) {
            if (!avecValeur.count(a)) {
                std::fprintf(stderr, sansValeur.count(a) ? "L'option %s ne prend pas de valeur\n"
                                                         : "Option inconnue : %s\n",
                             a.c_str());
                return false;
            }
            options.valeurs[a] = valeur;
        } else if (avecValeur.count(a)) {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "Valeur manquante après %s\n", a.c_str());
                return false;
            }
            options.valeurs[a] = args[++i];
        } else if (sansValeur.count(a)) {
            options.drapeaux.insert(a);
        } else {
            std::fprintf(stderr, "Option inconnue : %s\n", a.c_str());
            return false;
        }
    }
    return true;
}

bool Exclusives(const Options& options, const std::vector<std::string>& noms) {
    std::vector<std::string> donnees;
    for (const auto& n : noms)
        if (options.valeurs.count(n) || options.drapeaux.count(n)) donnees.push_back(n);
    if (donnees.size() < 2) return true;
    std::fprintf(stderr, "Les options %s et %s s'excluent l'une l'autre.\n", donnees[0].c_str(),
                 donnees[1].c_str());
    return false;
}

bool LireFichier(const std::string& chemin, std::string& contenu) {
    std::error_code erreur;
    std::ifstream entree(CheminNatif(chemin), std::ios::binary);
    if (!entree || std::filesystem::is_directory(CheminNatif(chemin), erreur)) {
        std::fprintf(stderr, "Impossible de lire le fichier : %s\n", chemin.c_str());
        return false;
    }
    std::ostringstream tampon;
    tampon << entree.rdbuf();
    if (entree.bad()) {
        std::fprintf(stderr, "Impossible de lire le fichier : %s\n", chemin.c_str());
        return false;
    }
    contenu = tampon.str();
    return true;
}

bool LireTexteServeur(const std::string& chemin, std::string& texte) {
    std::string brut;
    if (!LireFichier(chemin, brut)) return false;
    texte = NormaliserTexteServeur(std::move(brut));
    return true;
}

void AppliquerServeur(ContexteTelechargement& ctx, const Options& options) {
    if (auto s = options.valeurs.find("--serveur"); s != options.valeurs.end())
        ctx.Serveur = s->second;
}

void ImprimerVerdict(const ContexteTelechargement& ctx, const VerdictCatalogue& verdict,
                     bool miseANiveau) {
    switch (verdict.Issue) {
    case IssueCatalogue::Lu:
        return;
    case IssueCatalogue::TropAncien:
    case IssueCatalogue::NouvelEmporteur:
        std::fprintf(stderr, "Cet Emporteur est trop ancien. Le plus récent : %s\n",
                     AdresseNouvelEmporteur().c_str());
        if (miseANiveau && !verdict.Details.empty())
            std::fprintf(stderr, "%s\n", verdict.Details.c_str());
        return;
    case IssueCatalogue::SiteInaccessible:
    case IssueCatalogue::Illisible:
        if (miseANiveau) {
            std::fprintf(stderr, "%s\n", verdict.Details.c_str());
            return;
        }
        std::string version, affichee;
        VersionsInstallees(ctx, version, affichee);
        std::fprintf(stderr,
                     "Un problème empêche d’accéder au site de Mervane.\n%s est installé sur "
                     "votre disque dur\nDétails à propos de l’erreur :\n%s\n"
                     "Page de téléchargement pour votre fureteur Web : %s\n",
                     affichee.c_str(), verdict.Details.c_str(), AdresseRepli(ctx).c_str());
        return;
    }
}

} // namespace emporteur::cli
