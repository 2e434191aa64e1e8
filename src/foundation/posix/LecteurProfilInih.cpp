#include "foundation/LecteurProfil.h"

#include "foundation/CheminNatif.h"

#include <cstring>
#include <fstream>
#include <ini.h>
#include <optional>
#include <strings.h>

namespace emporteur {

namespace {
// Au-delà, le fichier n'est pas un profil : on n'en lit pas plus.
constexpr std::size_t kTailleMaxProfil = 1 << 20;

struct Recherche {
    const std::string& section;
    const std::string& cle;
    std::optional<std::string> valeur;
};

int TraiterLigne(void* utilisateur, const char* section, const char* nom, const char* valeur) {
    auto& recherche = *static_cast<Recherche*>(utilisateur);
    if (!recherche.valeur && ::strcasecmp(section, recherche.section.c_str()) == 0 &&
        ::strcasecmp(nom, recherche.cle.c_str()) == 0)
        recherche.valeur = valeur; // la première occurrence l'emporte
    return 1;
}

// Lecteur de lignes pour inih : une ligne trop longue pour son tampon est sautée
// entière plutôt que coupée en une valeur fausse et une ligne parasite.
struct Lecteur {
    const std::string& texte;
    std::size_t position = 0;
};

char* LireLigne(char* tampon, int taille, void* flux) {
    auto& lecteur = *static_cast<Lecteur*>(flux);
    const std::string& texte = lecteur.texte;
    if (lecteur.position >= texte.size() || taille < 3) return nullptr;
    std::size_t fin = texte.find('\n', lecteur.position);
    fin = fin == std::string::npos ? texte.size() : fin + 1;
    const std::size_t longueur = fin - lecteur.position;
    if (longueur < static_cast<std::size_t>(taille)) {
        std::memcpy(tampon, texte.data() + lecteur.position, longueur);
        tampon[longueur] = '\0';
    } else {
        std::strcpy(tampon, ";\n");
    }
    lecteur.position = fin;
    return tampon;
}

std::optional<std::string> Chercher(const std::string& fichier, const std::string& section,
                                    const std::string& cle) {
    std::ifstream entree(CheminNatif(fichier), std::ios::binary);
    if (!entree) return std::nullopt;
    std::string texte(kTailleMaxProfil, '\0');
    entree.read(texte.data(), static_cast<std::streamsize>(texte.size()));
    texte.resize(static_cast<std::size_t>(entree.gcount()));
    Recherche recherche{section, cle, std::nullopt};
    Lecteur lecteur{texte};
    ini_parse_stream(LireLigne, &lecteur, TraiterLigne, &recherche);
    return recherche.valeur;
}

// Retire une paire de guillemets englobants, simples ou doubles.
std::string SansGuillemets(std::string valeur) {
    if (valeur.size() >= 2 && (valeur.front() == '"' || valeur.front() == '\'') &&
        valeur.back() == valeur.front())
        return valeur.substr(1, valeur.size() - 2);
    return valeur;
}

} // namespace

std::string profil::LireValeur(const std::string& fichier, const std::string& section,
                               const std::string& cle, const std::string& defaut) {
    const std::optional<std::string> valeur = Chercher(fichier, section, cle);
    return valeur ? SansGuillemets(*valeur) : SansBlancsFinaux(defaut);
}

} // namespace emporteur
