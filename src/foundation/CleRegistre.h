#pragma once
// Détenteur d'au plus une clé de registre ouverte ; chaque opération rend un code
// Win32 (0 = réussite). Les échecs ne sont jamais montrés : l'appelant passe à sa
// valeur par défaut ou à l'endroit suivant.

#include "foundation/Registre.h"

#include <cstdint>
#include <string>

namespace emporteur {

class CleRegistre {
  public:
    CleRegistre() = default;
    // Reprend une clé ouverte ailleurs.
    explicit CleRegistre(CleOuverte cle) : cle_(std::move(cle)) {}
    CleRegistre(const CleRegistre&) = delete;
    CleRegistre& operator=(const CleRegistre&) = delete;

    // Ouvre la sous-clé ; en cas de réussite ferme la clé détenue et garde la nouvelle,
    // sinon garde l'ancienne.
    CodeWin32 OuvrirCle(Ruche parent, const std::string& sousCle, Acces acces = KEY_READ);
    // Reprend une clé ouverte ailleurs, en fermant celle détenue.
    void Prendre(CleOuverte cle);

    // Valeur texte (REG_SZ ou REG_EXPAND_SZ). `taille` : en entrée la capacité de
    // `tampon` en octets, en sortie la taille des données zéro final compris, ou 0 en
    // cas d'échec. Sans tampon, seule la taille est lue. Un autre type, ou des données
    // sans zéro final lues dans un tampon : ERROR_INVALID_DATA ; trop long :
    // ERROR_MORE_DATA.
    CodeWin32 LireTexte(const std::string& nom, char* tampon, std::uint32_t& taille) const;
    // Même lecture dans un tampon de `capacite` octets ; le texte s'arrête au premier
    // zéro ; vide en cas d'échec.
    CodeWin32 LireTexte(const std::string& nom, std::string& texte,
                        std::uint32_t capacite = 260) const;

    // Ferme la clé détenue et l'oublie ; 0 si rien n'était détenu.
    CodeWin32 Fermer();

    bool Detenue() const { return cle_.Ouverte(); }
    const CleOuverte& Cle() const { return cle_; }

  private:
    CleOuverte cle_;
};

} // namespace emporteur
