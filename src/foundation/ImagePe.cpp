#include "foundation/ImagePe.h"

#include <algorithm>

namespace emporteur {

namespace {
constexpr std::uint32_t kTypeVersion = 16;
constexpr std::uint32_t kBitHaut = 0x80000000u;
constexpr std::size_t kTailleSection = 40;

std::uint16_t Mot(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
std::uint32_t Double(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

struct Section {
    std::uint32_t adresse, positionBrute, tailleBrute;
};

struct Image {
    const SourceOctets& source;
    std::vector<Section> sections;
    std::uint32_t rvaRessources = 0;

    // Position dans le fichier de `taille` octets à l'adresse virtuelle `rva`, s'ils
    // sont tous présents dans les données brutes d'une même section.
    bool Position(std::uint64_t rva, std::uint64_t taille, std::uint64_t& position) const {
        for (const auto& s : sections) {
            if (rva >= s.adresse && rva + taille <= std::uint64_t(s.adresse) + s.tailleBrute) {
                position = std::uint64_t(s.positionBrute) + (rva - s.adresse);
                return source.Contient(position, taille);
            }
        }
        return false;
    }
    bool LireRva(std::uint64_t rva, std::size_t taille, std::vector<std::uint8_t>& octets) const {
        std::uint64_t position = 0;
        if (!Position(rva, taille, position)) return false;
        octets.resize(taille);
        return source.Lire(position, taille, octets.data());
    }
};

struct Entetes {
    std::uint64_t debutSections = 0;
    std::uint16_t nombreSections = 0;
    std::uint32_t rvaRessources = 0;
};

// En-tête DOS, signature PE, en-tête COFF, en-tête optionnel et son répertoire 2.
bool LireEntetes(const SourceOctets& source, Entetes& e) {
    std::uint8_t dos[0x40];
    if (!source.Lire(0, sizeof dos, dos) || Mot(dos) != 0x5A4D) return false;
    const std::uint64_t debutPe = Double(dos + 0x3C);
    std::uint8_t coff[24 + 2];
    if (!source.Lire(debutPe, sizeof coff, coff) || Double(coff) != 0x00004550) return false;
    e.nombreSections = Mot(coff + 6);
    const std::uint16_t tailleOptionnel = Mot(coff + 20);
    const std::uint16_t magie = Mot(coff + 24);
    const std::uint64_t debutOptionnel = debutPe + 24;
    std::uint64_t posNombre = 0;
    if (magie == 0x10B)
        posNombre = 92;
    else if (magie == 0x20B)
        posNombre = 108;
    else
        return false;
    const std::uint64_t posRessources = posNombre + 4 + 2 * 8;
    std::uint8_t octets[4 + 3 * 8];
    if (tailleOptionnel < posRessources + 8 ||
        !source.Lire(debutOptionnel + posNombre, sizeof octets, octets) || Double(octets) < 3)
        return false;
    e.rvaRessources = Double(octets + 4 + 2 * 8);
    e.debutSections = debutOptionnel + tailleOptionnel;
    return e.rvaRessources != 0 && e.nombreSections != 0;
}

bool LireSections(const SourceOctets& source, const Entetes& e, std::vector<Section>& sections) {
    const std::size_t taille = std::size_t(e.nombreSections) * kTailleSection;
    if (!source.Contient(e.debutSections, taille)) return false;
    std::vector<std::uint8_t> table(taille);
    if (!source.Lire(e.debutSections, taille, table.data())) return false;
    for (std::size_t i = 0; i < e.nombreSections; ++i) {
        const std::uint8_t* s = table.data() + i * kTailleSection;
        sections.push_back({Double(s + 12), Double(s + 20), Double(s + 16)});
    }
    return true;
}

struct Entree {
    std::uint32_t nom, decalage;
};

// Entrées d'un répertoire de ressources, au décalage donné depuis la racine.
bool LireRepertoire(const Image& image, std::uint32_t decalage, std::vector<Entree>& entrees) {
    const std::uint64_t rva = std::uint64_t(image.rvaRessources) + decalage;
    std::vector<std::uint8_t> entete;
    if (!image.LireRva(rva, 16, entete)) return false;
    const std::size_t nombre = std::size_t(Mot(entete.data() + 12)) + Mot(entete.data() + 14);
    std::vector<std::uint8_t> table;
    if (!image.LireRva(rva + 16, nombre * 8, table)) return false;
    entrees.clear();
    for (std::size_t i = 0; i < nombre; ++i)
        entrees.push_back({Double(table.data() + i * 8), Double(table.data() + i * 8 + 4)});
    return true;
}

// Sous-répertoire désigné par la première entrée qui convient (type donné, ou la première).
bool Descendre(const Image& image, std::uint32_t& decalage, bool parType) {
    std::vector<Entree> entrees;
    if (!LireRepertoire(image, decalage, entrees)) return false;
    const auto trouvee = std::find_if(entrees.begin(), entrees.end(), [&](const Entree& e) {
        return !parType || e.nom == kTypeVersion; // un nom textuel a son bit haut levé
    });
    if (trouvee == entrees.end() || (trouvee->decalage & kBitHaut) == 0) return false;
    decalage = trouvee->decalage & ~kBitHaut;
    return true;
}

// Entrée de données de la première langue : adresse et taille de la ressource.
bool LireDonneesLangue(const Image& image, std::uint32_t decalage,
                       std::vector<std::uint8_t>& bloc) {
    std::vector<Entree> entrees;
    if (!LireRepertoire(image, decalage, entrees) || entrees.empty() ||
        (entrees.front().decalage & kBitHaut) != 0)
        return false;
    std::vector<std::uint8_t> donnees;
    if (!image.LireRva(std::uint64_t(image.rvaRessources) + entrees.front().decalage, 16, donnees))
        return false;
    const std::size_t taille =
        std::min<std::size_t>(Double(donnees.data() + 4), kTailleMaxBlocVersion);
    return taille >= 6 && image.LireRva(Double(donnees.data()), taille, bloc);
}
} // namespace

bool ExtraireRessourceVersion(const SourceOctets& source, std::vector<std::uint8_t>& bloc) {
    bloc.clear();
    Entetes entetes;
    Image image{source, {}, 0};
    if (!LireEntetes(source, entetes) || !LireSections(source, entetes, image.sections))
        return false;
    image.rvaRessources = entetes.rvaRessources;
    std::uint32_t decalage = 0;
    if (!Descendre(image, decalage, true) || !Descendre(image, decalage, false) ||
        !LireDonneesLangue(image, decalage, bloc)) {
        bloc.clear();
        return false;
    }
    return true;
}

} // namespace emporteur
