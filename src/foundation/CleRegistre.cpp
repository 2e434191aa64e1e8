#include "foundation/CleRegistre.h"

#include <cstring>
#include <vector>

namespace emporteur {

CodeWin32 CleRegistre::OuvrirCle(Ruche parent, const std::string& sousCle, Acces acces) {
    CleOuverte nouvelle;
    const CodeWin32 code = emporteur::OuvrirCle(parent, sousCle, acces, nouvelle);
    if (code == ERROR_SUCCESS) cle_ = std::move(nouvelle);
    return code;
}

void CleRegistre::Prendre(CleOuverte cle) {
    Fermer();
    cle_ = std::move(cle);
}

CodeWin32 CleRegistre::LireTexte(const std::string& nom, char* tampon,
                                 std::uint32_t& taille) const {
    std::uint32_t donnees = taille;
    taille = 0;
    std::uint32_t type = REG_NONE;
    const CodeWin32 code = cle_.LireValeur(nom, &type, tampon, &donnees);
    if (code != ERROR_SUCCESS) return code;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_INVALID_DATA;
    // Des données vides n'ont pas de dernier octet : le tampon n'aurait pas de fin.
    if (tampon && (donnees == 0 || tampon[donnees - 1] != '\0')) return ERROR_INVALID_DATA;
    taille = donnees;
    return ERROR_SUCCESS;
}

CodeWin32 CleRegistre::LireTexte(const std::string& nom, std::string& texte,
                                 std::uint32_t capacite) const {
    texte.clear();
    std::vector<char> tampon(capacite ? capacite : 1);
    std::uint32_t taille = capacite;
    const CodeWin32 code = LireTexte(nom, capacite ? tampon.data() : nullptr, taille);
    if (code == ERROR_SUCCESS && capacite)
        texte.assign(tampon.data(), ::strnlen(tampon.data(), taille));
    return code;
}

CodeWin32 CleRegistre::Fermer() {
    return cle_.Ouverte() ? cle_.Fermer() : ERROR_SUCCESS;
}

} // namespace emporteur
