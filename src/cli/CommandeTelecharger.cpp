// emporteur-cli telecharger : choisit un élément du catalogue (local ou du serveur) et
// le télécharge sur un fil de travail, comme la page de téléchargement.
#include "assistant/ChoixVersions.h"
#include "assistant/RecuperationAssistee.h"
#include "catalogue/InterpreterCatalogue.h"
#include "catalogue/RecuperationCatalogue.h"
#include "catalogue/VersionInstallee.h"
#include "cli/Commandes.h"
#include "cli/InterfaceConsole.h"
#include "cli/Outils.h"
#include "cli/SuiviTelechargement.h"
#include "commun/ContexteTelechargement.h"
#include "download/ReglageConnexions.h"
#include "commun/Mandataire.h"
#include "foundation/CheminNatif.h"
#include "foundation/Chemins.h"
#include "foundation/LectureDecimale.h"

#include <cstdio>
#include <fstream>
#include <optional>
#include <string_view>
#include <vector>

namespace emporteur::cli {

namespace {
bool LireCatalogueLocal(ContexteTelechargement& ctx, const std::string& dossier) {
    std::string textes[3];
    const char* noms[] = {"RecettesOrthalis", "IngredientsOrthalis", "IngredientsBoutique"};
    for (int i = 0; i < 3; ++i)
        if (!LireTexteServeur(dossier + "/" + noms[i], textes[i])) return false;
    if (InterpreterCatalogue(ctx, textes[0], textes[1], textes[2])) return true;
    if (ctx.TropAncien)
        ImprimerVerdict(ctx, {IssueCatalogue::TropAncien, {}});
    else
        std::fprintf(stderr, "%s\n", kMessageInterpretation);
    return false;
}

// La version installée, connue avant la récupération : le repli sur le navigateur la
// montre et la met dans l'adresse imprimée.
void FixerVersionInstallee(ContexteTelechargement& ctx, const Options& options) {
    if (auto v = options.valeurs.find("--version"); v != options.valeurs.end()) {
        ctx.VersionInstallee = v->second;
        ctx.VersionAffichee = v->second;
    } else {
        DetecterVersionInstallee(ctx);
    }
}

// IndiceChoisi d'après --recette ; sinon l'élément qui convient à la version installée.
bool Choisir(ContexteTelechargement& ctx, std::optional<std::int32_t> recette) {
    if (recette)
        ctx.IndiceChoisi = *recette;
    else
        TrouverRecetteAppropriee(ctx);
    if (ctx.RecetteChoisie()) return true;
    if (recette) {
        std::fprintf(stderr, "Indice d'élément hors limites : %d (le catalogue en compte %zu",
                     *recette, ctx.Recettes.size());
        if (!ctx.Recettes.empty()) std::fprintf(stderr, ", de 0 à %zu", ctx.Recettes.size() - 1);
        std::fputs(").\n", stderr);
        return false;
    }
    std::fprintf(stderr, "Aucun élément du catalogue ne correspond (version installée : %s).\n",
                 ctx.VersionInstallee.empty() ? "aucune" : ctx.VersionInstallee.c_str());
    return false;
}

// Mise à niveau : tous les éléments cochés, rassemblés comme par la page de la liste.
bool ChoisirToutLaMiseANiveau(ContexteTelechargement& ctx) {
    if (ctx.Recettes.empty()) return false;
    RassemblerChoixVersions(ctx, std::vector<bool>(ctx.Recettes.size(), true));
    return ctx.RecetteChoisie() != nullptr;
}

// Les deux chemins récupèrent comme l'assistant (mandataire mémorisé compris) et
// impriment le verdict manqué au lieu de le demander.
bool RecupererDuServeur(ContexteTelechargement& ctx, bool miseANiveau) {
    const VerdictCatalogue verdict =
        miseANiveau ? RecupererCatalogueMiseANiveau(ctx) : RecupererCatalogue(ctx);
    ImprimerVerdict(ctx, verdict, miseANiveau);
    return verdict.EstLu();
}

// --proxy [UTIL[:MDP]@]HOTE:PORT et --cacert FICHIER. Un message d'erreur ne montre
// jamais les identifiants.
bool AppliquerConnexion(ContexteTelechargement& ctx, const Options& options) {
    AppliquerServeur(ctx, options);
    if (auto c = options.valeurs.find("--cacert"); c != options.valeurs.end()) {
        if (!std::ifstream(CheminNatif(c->second), std::ios::binary)) {
            std::fprintf(stderr, "Fichier des autorités de certification illisible : %s\n",
                         c->second.c_str());
            return false;
        }
        ctx.Connexion.FichierAutorites = c->second;
    }
    auto p = options.valeurs.find("--proxy");
    if (p == options.valeurs.end()) return true;
    MandataireDecrit decrit;
    if (!DecrireMandataire(p->second, decrit) || decrit.Port == 0) {
        const auto arobase = p->second.rfind('@');
        std::fprintf(stderr, "Mandataire attendu sous la forme HOTE:PORT : %s\n",
                     arobase == std::string::npos ? p->second.c_str()
                                                  : p->second.substr(arobase + 1).c_str());
        return false;
    }
    ctx.Connexion.Serveur = decrit.Serveur;
    ctx.Connexion.Port = decrit.Port;
    ctx.Connexion.Utilisateur = decrit.Utilisateur;
    ctx.Connexion.MotDePasse = decrit.MotDePasse;
    return true;
}

// --recette : un numéro entier, sinon erreur d'usage (un texte ne choisit pas l'élément 0).
bool LireRecette(const Options& options, std::optional<std::int32_t>& recette) {
    const auto r = options.valeurs.find("--recette");
    if (r == options.valeurs.end()) return true;
    std::int32_t numero = 0;
    if (!LireEntierStrict(r->second, numero)) {
        std::fprintf(stderr, "Numéro d'élément attendu après --recette : %s\n", r->second.c_str());
        return false;
    }
    recette = numero;
    return true;
}
} // namespace

int CommandeTelecharger(const Arguments& args) {
    Options options;
    if (!LireOptions(args,
                     {"--catalogue", "--recette", "--version", "--dossier", "--serveur", "--proxy",
                      "--connexions", "--cacert"},
                     {"--mise-a-niveau", "--quiet", "--json"}, options) ||
        !options.positions.empty()) {
        return ErreurUsage("telecharger");
    }
    if (!Exclusives(options, {"--recette", "--version", "--mise-a-niveau"})) return 2;
    std::optional<std::int32_t> recette;
    if (!LireRecette(options, recette)) return 2;
    // --connexions N (1 … 8) l'emporte sur le réglage enregistré.
    int connexions = LireReglageConnexions();
    if (auto c = options.valeurs.find("--connexions"); c != options.valeurs.end()) {
        const auto n = LireTexteConnexions(c->second);
        if (!n) {
            std::fprintf(stderr, "Nombre de connexions attendu de 1 à 8 : %s\n", c->second.c_str());
            return 2;
        }
        connexions = *n;
    }
    InterfaceConsole console;
    console.AutoriserSaisie(false);
    console.DemanderIdentifiantsAuTerminal(true); // comme l'assistant, sur un terminal seulement
    ContexteTelechargement ctx(ModeExecution::Ordinaire, console);
    if (!AppliquerConnexion(ctx, options)) return 2;
    const bool miseANiveau = options.drapeaux.count("--mise-a-niveau") > 0;
    ctx.ModeMiseANiveau = miseANiveau;
    if (!miseANiveau) FixerVersionInstallee(ctx, options);
    const auto catalogue = options.valeurs.find("--catalogue");
    bool lu;
    if (catalogue != options.valeurs.end())
        lu = LireCatalogueLocal(ctx, catalogue->second);
    else
        lu = RecupererDuServeur(ctx, miseANiveau);
    if (!lu) return 1;
    if (!(miseANiveau ? ChoisirToutLaMiseANiveau(ctx) : Choisir(ctx, recette))) return 1;
    Recette& choisie = *ctx.RecetteChoisie();
    if (auto d = options.valeurs.find("--dossier"); d != options.valeurs.end())
        choisie.Dossier = d->second;
    AjouterBarre(choisie.Dossier);
    return SuivreTelechargement(choisie, console,
                                {.discret = options.drapeaux.count("--quiet") > 0,
                                 .json = options.drapeaux.count("--json") > 0,
                                 .connexions = connexions});
}

} // namespace emporteur::cli
