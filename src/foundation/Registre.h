#pragma once
// Registre de Windows, ou son équivalent sur SQLite ailleurs (posix/). Deux ruches :
// HKEY_CURRENT_USER et HKEY_LOCAL_MACHINE, la seconde en lecture seule pour ce programme.
// Chemins de clés séparés par "\", noms de clés et de valeurs comparés sans casse ; une
// clé existe sans valeur et sa création crée ses parentes. Valeurs typées (REG_SZ 1,
// REG_EXPAND_SZ 2, REG_DWORD 4) ; les textes sont lus et écrits en UTF-8 zéro final
// compris, quelle que soit leur forme dans le registre. Chaque opération rend un code
// Win32 (0 = réussite).
//
//   CleOuverte cle;
//   if (OuvrirCle(HKEY_CURRENT_USER, "Software\\Mervane", KEY_READ, cle) == ERROR_SUCCESS)
//       cle.LireValeur("Nom", &type, tampon, &taille);

#include "foundation/ConstantesWin32.h"

#include <cstdint>
#include <memory>
#include <string>

namespace emporteur {

// Poignée d'une clé ouverte ; non copiable, fermée à la destruction.
class CleOuverte {
  public:
    CleOuverte();
    ~CleOuverte();
    CleOuverte(CleOuverte&& autre) noexcept;
    CleOuverte& operator=(CleOuverte&& autre) noexcept;
    CleOuverte(const CleOuverte&) = delete;
    CleOuverte& operator=(const CleOuverte&) = delete;

    bool Ouverte() const { return etat_ != nullptr; }

    // RegQueryValueEx : chaque pointeur peut être nul. Avec `donnees`, `taille` donne la
    // capacité ; trop petite : ERROR_MORE_DATA, rien n'est copié. Dans tous les cas de
    // réussite ou de manque de place, `taille` reçoit la taille des données.
    CodeWin32 LireValeur(const std::string& nom, std::uint32_t* type, void* donnees,
                         std::uint32_t* taille) const;
    // REG_DWORD de 4 octets ; un autre type ou une autre taille : ERROR_INVALID_DATA.
    CodeWin32 LireDword(const std::string& nom, std::uint32_t& valeur) const;

    // RegSetValueEx : les octets sont stockés tels quels.
    CodeWin32 EcrireValeur(const std::string& nom, std::uint32_t type, const void* donnees,
                           std::uint32_t taille) const;
    // REG_SZ : le texte et son zéro final.
    CodeWin32 EcrireTexte(const std::string& nom, const std::string& texte) const;
    // REG_DWORD : 4 octets, petit-boutiste.
    CodeWin32 EcrireDword(const std::string& nom, std::uint32_t valeur) const;

    // RegCloseKey : ERROR_INVALID_HANDLE si rien n'était ouvert.
    CodeWin32 Fermer();

  private:
    friend CodeWin32 OuvrirCle(Ruche, const std::string&, Acces, CleOuverte&);
    friend CodeWin32 CreerCle(Ruche, const std::string&, Acces, CleOuverte&);

    // Ce qui désigne la clé ouverte, propre à chaque plateforme.
    struct Etat;
    explicit CleOuverte(std::unique_ptr<Etat> etat);

    std::unique_ptr<Etat> etat_;
};

// RegOpenKeyEx : ouvre une clé existante. En cas d'échec, `cle` est laissée telle quelle.
// Un droit d'écriture sur HKEY_LOCAL_MACHINE donne ERROR_ACCESS_DENIED.
CodeWin32 OuvrirCle(Ruche ruche, const std::string& sousCle, Acces acces, CleOuverte& cle);
// RegCreateKeyEx : ouvre la clé, ou la crée avec ses parentes. Même règle pour `cle`.
CodeWin32 CreerCle(Ruche ruche, const std::string& sousCle, Acces acces, CleOuverte& cle);

} // namespace emporteur
