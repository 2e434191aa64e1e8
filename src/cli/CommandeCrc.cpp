// emporteur-cli crc et ingredient : la liste CRC d'un fichier, seule ou dans une
// ligne d'ingrédient complète, pour écrire un catalogue avec le programme lui-même.
#include "cli/Commandes.h"
#include "cli/Outils.h"
#include "crctool/ListeCrc.h"
#include "download/PlanSegments.h"
#include "foundation/LectureDecimale.h"
#include "download/EmpreinteFichier.h"

#include <array>
#include <cstdio>
#include <string_view>

namespace emporteur::cli {

namespace {
// La ligne de commande est plus stricte que la fenêtre : le texte entier est un nombre,
// et la taille est l'une de celles que le téléchargement accepte.
bool LireTailleSegment(const std::string& texte, std::uint32_t& taille) {
    const NombreDecimal n = LireDecimal(texte);
    taille = n.Modulo32;
    if (n.TexteEntier && !n.Negatif && n.Absolue == n.Modulo32 && TailleSegmentAdmise(taille))
        return true;
    std::fprintf(stderr, "Taille de segment invalide : %s (attendu : un nombre entier %s).\n",
                 texte.c_str(), TexteLimiteSegment().c_str());
    return false;
}

bool Calculer(const std::string& chemin, const std::string& texteTaille, ListeCrc& liste,
              std::uint32_t& tailleSegment) {
    if (!LireTailleSegment(texteTaille, tailleSegment)) return false;
    std::string erreur;
    if (!CalculerListeCrc(chemin, tailleSegment, liste, erreur)) {
        std::fprintf(stderr, "%s\n", erreur.c_str());
        return false;
    }
    return true;
}

// Une ligne que le téléchargement refuserait ne s'écrit pas : un fichier vide n'a
// pas de plan utilisable.
bool PlanTelechargeable(const ListeCrc& liste, std::uint32_t tailleSegment) {
    if (PlanSegments(liste.Taille, tailleSegment).Taille() > 0) return true;
    std::fputs("Fichier vide : le téléchargement refuserait un fichier de taille nulle.\n",
               stderr);
    return false;
}

// Clés d'une ligne d'ingrédient : une valeur qui en contiendrait une serait
// trouvée à sa place par le lecteur du catalogue.
constexpr std::array<std::string_view, 9> kCles = {
    "cle=",    "fichierdistant=", "fichierlocal=", "site=",  "rep=",
    "taille=", "tailleseg=",      "crc=",          "sha256="};

bool ValeurAcceptable(const std::string& option, const std::string& valeur) {
    const char* raison = nullptr;
    if (valeur.find_first_of("\"\n\r") != std::string::npos)
        raison = "guillemet ou saut de ligne interdit";
    for (const auto cle : kCles)
        if (valeur.find(cle) != std::string::npos)
            raison = "une clé du catalogue ne peut figurer dans une valeur";
    if (option == "--cle" && (valeur.empty() || valeur.find(' ') != std::string::npos))
        raison = "la clé doit être non vide et sans blanc";
    if (raison) std::fprintf(stderr, "Valeur refusée pour %s : %s.\n", option.c_str(), raison);
    return raison == nullptr;
}

bool OptionsIngredient(const Options& o) {
    const auto& v = o.valeurs;
    const bool distant = v.count("--distant") != 0, local = v.count("--local") != 0;
    if (o.positions.size() != 2 || !v.count("--cle") || !v.count("--site") || !v.count("--rep") ||
        distant != local) {
        ErreurUsage("ingredient");
        return false;
    }
    for (const auto& [option, valeur] : v)
        if (!ValeurAcceptable(option, valeur)) return false;
    return true;
}

std::string Champ(const char* cle, const std::string& valeur) {
    return std::string(" ") + cle + "=\"" + valeur + "\"";
}
} // namespace

int CommandeCrc(const Arguments& args) {
    if (args.size() != 2) return ErreurUsage("crc");
    ListeCrc liste;
    std::uint32_t tailleSegment = 0;
    if (!Calculer(args[0], args[1], liste, tailleSegment)) return 2;
    std::printf("%s\n%s\n", liste.Texte.c_str(), TexteTaille(liste.Taille).c_str());
    return 0;
}

int CommandeIngredient(const Arguments& args) {
    Options o;
    if (!LireOptions(args, {"--cle", "--site", "--rep", "--distant", "--local"}, {}, o))
        return ErreurUsage("ingredient");
    if (!OptionsIngredient(o)) return 2;
    ListeCrc liste;
    std::uint32_t tailleSegment = 0;
    if (!Calculer(o.positions[0], o.positions[1], liste, tailleSegment) ||
        !PlanTelechargeable(liste, tailleSegment))
        return 2;
    auto& v = o.valeurs;
    std::string ligne = "cle=\"" + v["--cle"] + "\"";
    if (v.count("--distant"))
        ligne += Champ("fichierdistant", v["--distant"]) + Champ("fichierlocal", v["--local"]);
    ligne +=
        Champ("site", v["--site"]) + Champ("rep", v["--rep"]) +
        Champ("taille", TexteTaille(liste.Taille)) +
        Champ("tailleseg", std::to_string(tailleSegment)) +
        Champ("crc", liste.Texte);
    // L'empreinte du fichier entier, que la signature du catalogue rend sûre.
    Sha256 empreinte{};
    if (!CalculerEmpreinte(DescripteurFichier::OuvrirLecture(o.positions[0]), empreinte)) {
        std::fprintf(stderr, "Impossible de lire le fichier « %s ».\n", o.positions[0].c_str());
        return 2;
    }
    ligne += Champ("sha256", EnHexadecimal(empreinte));
    std::printf("%s\n", ligne.c_str());
    return 0;
}

} // namespace emporteur::cli
