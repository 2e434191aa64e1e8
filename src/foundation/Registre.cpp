#include "foundation/Registre.h"

// Lectures et écritures typées, communes aux deux plateformes : elles passent par
// LireValeur et EcrireValeur.

namespace emporteur {

CodeWin32 CleOuverte::LireDword(const std::string& nom, std::uint32_t& valeur) const {
    std::uint32_t type = REG_NONE;
    unsigned char octets[4] = {};
    std::uint32_t taille = sizeof octets;
    const CodeWin32 code = LireValeur(nom, &type, octets, &taille);
    if (code == ERROR_MORE_DATA) return ERROR_INVALID_DATA;
    if (code != ERROR_SUCCESS) return code;
    if (type != REG_DWORD || taille != 4) return ERROR_INVALID_DATA;
    valeur = octets[0] | (octets[1] << 8) | (octets[2] << 16) |
             (static_cast<std::uint32_t>(octets[3]) << 24);
    return ERROR_SUCCESS;
}

CodeWin32 CleOuverte::EcrireTexte(const std::string& nom, const std::string& texte) const {
    return EcrireValeur(nom, REG_SZ, texte.c_str(), static_cast<std::uint32_t>(texte.size() + 1));
}

CodeWin32 CleOuverte::EcrireDword(const std::string& nom, std::uint32_t valeur) const {
    const unsigned char octets[4] = {
        static_cast<unsigned char>(valeur), static_cast<unsigned char>(valeur >> 8),
        static_cast<unsigned char>(valeur >> 16), static_cast<unsigned char>(valeur >> 24)};
    return EcrireValeur(nom, REG_DWORD, octets, sizeof octets);
}

} // namespace emporteur
