#pragma once
// Contenu décodé d'un bloc VS_VERSIONINFO, interrogé comme VerQueryValueA : à chaque
// niveau, le premier enfant dont le nom correspond (sans égard à la casse) l'emporte.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace emporteur {

// Les deux mots de 32 bits de chaque version du bloc fixe (VS_FIXEDFILEINFO).
struct InfoFixeVersion {
    std::uint32_t FichierFort = 0, FichierFaible = 0;
    std::uint32_t ProduitFort = 0, ProduitFaible = 0;
};

// Une table \StringFileInfo\LLLLCCCC : noms et valeurs en UTF-8, dans l'ordre du fichier.
struct TableTextes {
    std::string Cle;
    std::vector<std::pair<std::string, std::string>> Valeurs;
};

struct DonneesVersion {
    InfoFixeVersion Fixe;
    std::vector<std::uint32_t> Traductions; // \VarFileInfo\Translation
    std::vector<TableTextes> Tables;        // \StringFileInfo

    // Vrai avec la première paire : langue dans les 16 bits faibles, page de code au-dessus.
    bool PremiereTraduction(std::uint32_t& traduction) const;
    // Valeur d'une requête "\StringFileInfo\cle\nom" ; nul si absente.
    const std::string* Texte(std::string_view requete) const;
};

// Décode un bloc brut ; faux si la racine ou son bloc fixe (signature 0xFEEF04BD) est
// invalide : le fichier est alors sans information de version.
bool DecoderBlocVersion(std::span<const std::uint8_t> bloc, DonneesVersion& donnees);

// "\StringFileInfo\%04X%04X\" : langue puis page de code.
std::string PrefixeTraduction(std::uint32_t traduction);

// Comparaison sans égard à la casse ASCII, comme les noms des ressources Windows.
bool MemeNom(std::string_view a, std::string_view b);

} // namespace emporteur
