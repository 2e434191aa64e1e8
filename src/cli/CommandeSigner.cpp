// emporteur-cli signer : pour le fabricant, la ligne de série d'un texte du catalogue
// insérée ou mise à jour, puis sa signature détachée TEXTE.sig, celle qu'écrirait
// « openssl dgst -sha256 -sign cle.pem -out TEXTE.sig TEXTE ».
#include "catalogue/AuthentificationCatalogue.h"
#include "catalogue/RecuperationCatalogue.h"
#include "cli/Commandes.h"
#include "cli/Outils.h"
#include "foundation/CheminNatif.h"
#include "foundation/Signature.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace emporteur::cli {

namespace {
bool LireSerieOption(const std::string& texte, std::uint32_t& serie) {
    const auto [fin, erreur] = std::from_chars(texte.data(), texte.data() + texte.size(), serie);
    if (!texte.empty() && erreur == std::errc() && fin == texte.data() + texte.size()) return true;
    std::fprintf(stderr, "Série invalide : %s (un entier de 0 à 4294967295).\n", texte.c_str());
    return false;
}

// Écrit sous un nom voisin puis renomme : un texte à moitié écrit ne remplace jamais l'ancien.
bool Ecrire(const std::string& chemin, const std::string& contenu) {
    const auto provisoire = CheminNatif(chemin + ".provisoire");
    std::error_code erreur;
    {
        std::ofstream f(provisoire, std::ios::binary | std::ios::trunc);
        f.write(contenu.data(), static_cast<std::streamsize>(contenu.size()));
        f.flush();
        if (!f) {
            std::filesystem::remove(provisoire, erreur);
            std::fprintf(stderr, "Impossible d'écrire « %s ».\n", chemin.c_str());
            return false;
        }
    }
    // rename remplace la cible, sous Windows aussi (MoveFileExW avec remplacement).
    std::filesystem::rename(provisoire, CheminNatif(chemin), erreur);
    if (!erreur) return true;
    std::filesystem::remove(provisoire, erreur);
    std::fprintf(stderr, "Impossible d'écrire « %s ».\n", chemin.c_str());
    return false;
}

bool LireOptionsSigner(const Arguments& args, Options& o, LigneSerie& ligne) {
    if (!LireOptions(args, {"--cle-privee", "--serie", "--expire"}, {}, o) ||
        o.positions.size() != 1 || !o.valeurs.count("--cle-privee") ||
        !o.valeurs.count("--serie") || !o.valeurs.count("--expire")) {
        ErreurUsage("signer");
        return false;
    }
    ligne.Expire = o.valeurs["--expire"];
    if (!DateValide(ligne.Expire)) {
        std::fprintf(stderr, "Date d'expiration invalide : %s (AAAA-MM-JJ).\n",
                     ligne.Expire.c_str());
        return false;
    }
    return LireSerieOption(o.valeurs["--serie"], ligne.Serie);
}
} // namespace

int CommandeSigner(const Arguments& args) {
    Options o;
    LigneSerie ligne;
    if (!LireOptionsSigner(args, o, ligne)) return 2;
    const std::string& chemin = o.positions[0];
    std::string texte, cle;
    if (!LireFichier(chemin, texte) || !LireFichier(o.valeurs["--cle-privee"], cle)) return 2;
    const std::string signe = AvecLigneSerie(texte, ligne);
    // Le programme refuse un texte qui remplit son tampon de réception.
    if (signe.size() >= kCapaciteCatalogue) {
        std::fprintf(stderr, "Texte trop long : %zu octets, %zu au plus.\n", signe.size(),
                     kCapaciteCatalogue - 1);
        return 2;
    }
    std::string signature, erreur;
    if (!Signer(cle, signe, signature, erreur)) {
        std::fprintf(stderr, "Signature impossible : %s.\n", erreur.c_str());
        return 2;
    }
    if (!Ecrire(chemin, signe) || !Ecrire(chemin + ".sig", signature)) return 2;
    std::printf("%s : série %u, expire le %s ; signature dans %s.sig\n", chemin.c_str(),
                ligne.Serie, ligne.Expire.c_str(), chemin.c_str());
    return 0;
}

} // namespace emporteur::cli
