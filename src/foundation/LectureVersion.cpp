#include "foundation/LectureVersion.h"

#include "foundation/CheminNatif.h"
#include "foundation/DossiersUtilisateur.h"
#include "foundation/ImagePe.h"
#include "foundation/SourceOctets.h"

#include <cstdio>
#include <filesystem>

#ifndef EMPORTEUR_VERSION
#error "EMPORTEUR_VERSION doit venir de la construction"
#endif

namespace emporteur {

namespace {
constexpr std::uint32_t kFrancaisCp1252 = 0x04E4040C; // langue 0x040C, page de code 1252

// "a.b.c.d" en deux mots de 32 bits, majeur en tête.
void VersionEnMots(const char* texte, std::uint32_t& fort, std::uint32_t& faible) {
    unsigned n[4] = {0, 0, 0, 0};
    std::sscanf(texte, "%u.%u.%u.%u", &n[0], &n[1], &n[2], &n[3]);
    fort = (n[0] & 0xFFFF) << 16 | (n[1] & 0xFFFF);
    faible = (n[2] & 0xFFFF) << 16 | (n[3] & 0xFFFF);
}

DonneesVersion ConstruireDonneesProgramme() {
    DonneesVersion d;
    VersionEnMots(EMPORTEUR_VERSION, d.Fixe.FichierFort, d.Fixe.FichierFaible);
    d.Fixe.ProduitFort = d.Fixe.FichierFort;
    d.Fixe.ProduitFaible = d.Fixe.FichierFaible;
    d.Traductions = {kFrancaisCp1252};
    d.Tables = {{"040C04E4",
                 {{"ProductName", "Emporteur"},
                  {"ProductVersion", EMPORTEUR_VERSION},
                  {"FileVersion", EMPORTEUR_VERSION}}}};
    return d;
}
} // namespace

const DonneesVersion& DonneesVersionProgramme() {
    static const DonneesVersion donnees = ConstruireDonneesProgramme();
    return donnees;
}

bool EstProgramme(const std::string& chemin) {
    const std::string programme = CheminProgramme();
    if (programme.empty()) return false;
    std::error_code erreur;
    return chemin == programme ||
           std::filesystem::equivalent(CheminNatif(chemin), CheminNatif(programme), erreur);
}

bool DecoderVersionPe(std::span<const std::uint8_t> image, DonneesVersion& donnees) {
    std::vector<std::uint8_t> bloc;
    if (ExtraireRessourceVersion(SourceMemoire(image), bloc) && DecoderBlocVersion(bloc, donnees))
        return true;
    donnees = {};
    return false;
}

LectureVersion LireDonneesVersion(const std::string& chemin, DonneesVersion& donnees) {
    donnees = {};
    if (EstProgramme(chemin)) {
        donnees = DonneesVersionProgramme();
        return LectureVersion::Trouvee;
    }
    const auto source = SourceFichier::Ouvrir(chemin);
    if (!source) return LectureVersion::Illisible;
    std::vector<std::uint8_t> bloc;
    if (!ExtraireRessourceVersion(*source, bloc) || !DecoderBlocVersion(bloc, donnees)) {
        donnees = {};
        return LectureVersion::Absente;
    }
    return LectureVersion::Trouvee;
}

} // namespace emporteur
