#include "cli/Commandes.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace emporteur::cli {

namespace {
struct Commande {
    const char* nom;
    int (*executer)(const Arguments&);
    const char* syntaxe; // ce qui suit « emporteur-cli »
    const char* aide;    // description et options, lignes en retrait
};

// Une seule table : l'aiguillage, l'aide générale et l'aide de chaque commande.
constexpr Commande kCommandes[] = {
    {"catalogue", CommandeCatalogue,
     "catalogue RECETTES INGREDIENTS [BOUTIQUE] [--version-installee V]",
     "  Interprète trois textes de catalogue locaux et imprime le résultat en JSON.\n"
     "  --version-installee V  version installée supposée (a.b.c.d)\n"
     "  Codes : 0 réussi, 1 échec de l'interprétation, 2 erreur d'usage ou de fichier.\n"},
    {"telecharger", CommandeTelecharger,
     "telecharger [--catalogue DOSSIER] [--recette N | --version V | --mise-a-niveau]\n"
     "                          [--dossier D] [--serveur HOTE[:PORT]] [--proxy HOTE:PORT]\n"
     "                          [--connexions N] [--cacert FICHIER] [-q | --quiet] [--json]",
     "  Télécharge par segments l'élément choisi du catalogue (serveur ou dossier local).\n"
     "  --catalogue DOSSIER  catalogue pris dans un dossier local\n"
     "  --recette N          élément d'indice N\n"
     "  --version V          élément pour la version installée V\n"
     "  --dossier D          dossier de destination\n"
     "  --mise-a-niveau      tous les fichiers de la mise à niveau\n"
     "  --serveur HOTE[:PORT]  serveur de téléchargement (comme EMPORTEUR_SERVEUR)\n"
     "  --connexions N       requêtes en vol au plus par fichier, 1 à 8 (réglage enregistré\n"
     "                       « Connexions », sinon 1)\n"
     "  --proxy HOTE:PORT    serveur mandataire ; UTIL:MDP@HOTE:PORT avec ses identifiants\n"
     "  --cacert FICHIER     autorités de certification à reconnaître (PEM)\n"
     "  -q, --quiet          rien qu'en cas d'échec (le journal, sur la sortie d'erreur)\n"
     "  --json               le résultat en JSON : le code et un objet par fichier\n"
     "  Journal et progression sur la sortie d'erreur, résultat sur la sortie standard.\n"
     "  Les options à valeur s'écrivent aussi --option=valeur.\n"
     "  Codes : 0 réussi, 1 échec ou catalogue absent, 2 erreur d'usage, 130 Ctrl-C,\n"
     "  143 SIGTERM, 129 SIGHUP (même arrêt propre que Ctrl-C).\n"},
    {"verifier", CommandeVerifier, "verifier [--serveur HOTE[:PORT]]",
     "  Vérification automatique sans fenêtre ; résultat en JSON, avec l'état des\n"
     "  signatures du catalogue et la série de chaque texte.\n"
     "  --serveur HOTE[:PORT]  serveur de téléchargement (comme EMPORTEUR_SERVEUR)\n"
     "  Codes : 0 du nouveau est offert, 1 rien, 2 catalogue introuvable.\n"},
    {"verification-programmee", CommandeVerificationProgrammee,
     "verification-programmee [--serveur HOTE[:PORT]]",
     "  Lance « emporteur MajDiscrete » (installé à côté) si le catalogue offre\n"
     "  autre chose que ce que l'utilisateur a écarté par « Ne plus aviser ».\n"
     "  --serveur HOTE[:PORT]  serveur de téléchargement (comme EMPORTEUR_SERVEUR)\n"
     "  Codes : 0 rien à lancer, 2 erreur d'usage, 127 lancement impossible.\n"},
    {"crc", CommandeCrc, "crc FICHIER TAILLE_SEGMENT",
     "  Imprime la liste CRC-32 du fichier par segments, puis sa taille.\n"},
    {"ingredient", CommandeIngredient,
     "ingredient FICHIER TAILLE_SEGMENT --cle K --site S --rep R [--distant D --local L]",
     "  Imprime la ligne d'ingrédient complète du fichier pour un catalogue.\n"},
    {"signer", CommandeSigner, "signer --cle-privee CLE.pem --serie N --expire AAAA-MM-JJ TEXTE",
     "  Insère ou met à jour la ligne de série du texte de catalogue, puis écrit sa\n"
     "  signature TEXTE.sig (ECDSA P-256, comme openssl dgst -sha256 -sign).\n"
     "  Codes : 0 signé, 2 erreur d'usage, de fichier ou de clé.\n"},
    {"version", CommandeVersion, "version FICHIER",
     "  Lit la ressource de version d'un exécutable Windows.\n"
     "  Codes : 0 lue, 1 sans information de version, 2 fichier illisible.\n"},
    {"version-installee", CommandeVersionInstallee, "version-installee",
     "  Imprime la version d'Orthalis détectée et son libellé.\n"},
    {"registre", CommandeRegistre, "registre lire CLE VALEUR | registre ecrire CLE VALEUR TEXTE",
     "  Lit ou écrit une valeur texte du registre de l'utilisateur.\n"
     "  Codes : 0 réussi, 1 valeur illisible ou écriture impossible, 2 erreur d'usage.\n"},
};

const Commande* Trouver(const std::string& nom) {
    const auto c = std::find_if(std::begin(kCommandes), std::end(kCommandes),
                                [&](const Commande& x) { return nom == x.nom; });
    return c == std::end(kCommandes) ? nullptr : c;
}

bool DemandeAide(const std::string& a) {
    return a == "--help" || a == "-h";
}
} // namespace

std::string AideGenerale() {
    std::string texte = "Usage :\n";
    for (const auto& c : kCommandes)
        texte += std::string("  emporteur-cli ") + c.syntaxe + "\n";
    texte += "  emporteur-cli --help | -h | --version\n"
             "  emporteur-cli COMMANDE --help\n\n"
             "Le compagnon en ligne de commande d'Emporteur. Voir aussi emporteur-cli(1).\n";
    return texte;
}

std::string AideCommande(const std::string& commande) {
    const Commande* c = Trouver(commande);
    if (!c) return {};
    return std::string("Usage : emporteur-cli ") + c->syntaxe + "\n" + c->aide;
}

int ErreurUsage(const std::string& commande) {
    const Commande* c = Trouver(commande);
    std::fprintf(stderr, "emporteur-cli %s : usage incorrect.\nUsage : emporteur-cli %s\n",
                 commande.c_str(), c ? c->syntaxe : "");
    std::fprintf(stderr, "Essayez « emporteur-cli %s --help ».\n", commande.c_str());
    return 2;
}

int Executer(const std::string& commande, const Arguments& args) {
    const Commande* c = Trouver(commande);
    if (!c) {
        std::fprintf(stderr,
                     "emporteur-cli : commande inconnue : %s\n"
                     "Essayez « emporteur-cli --help ».\n",
                     commande.c_str());
        return 2;
    }
    if (std::any_of(args.begin(), args.end(), DemandeAide)) {
        std::fputs(AideCommande(commande).c_str(), stdout);
        return 0;
    }
    return c->executer(args);
}

} // namespace emporteur::cli
