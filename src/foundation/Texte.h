#pragma once
// Texte Unicode (UTF-8 au-dedans) avec conversion exacte vers et depuis
// Windows-1252, et règle de décodage des textes reçus du serveur.

#include <cstddef>
#include <string>
#include <string_view>

namespace emporteur {

class Texte {
  public:
    Texte() = default;
    Texte(std::string utf8) : utf8_(std::move(utf8)) {}
    Texte(const char* utf8) : utf8_(utf8) {}

    // Les 256 octets ont une image (0x81, 0x8D, 0x8F, 0x90, 0x9D : leurs
    // caractères de contrôle C1), donc l'aller-retour est exact.
    static Texte depuisCp1252(std::string_view octets);
    // Un caractère sans forme Windows-1252 devient "?".
    std::string versCp1252() const;

    const std::string& utf8() const { return utf8_; }
    Texte& operator+=(const Texte& autre) {
        utf8_ += autre.utf8_;
        return *this;
    }
    // Nombre de caractères.
    std::size_t longueur() const;
    bool vide() const { return utf8_.empty(); }
    bool operator==(const Texte&) const = default;

  private:
    std::string utf8_;
};

bool EstUtf8Valide(std::string_view octets);

// Texte du serveur : gardé tel quel s'il est en UTF-8 valide, sinon lu en Windows-1252.
std::string DecoderTexteServeur(std::string_view octets);

// Les premiers octets de `utf8`, au plus `maxOctets`, sans couper un caractère.
std::string CouperUtf8(std::string_view utf8, std::size_t maxOctets);

} // namespace emporteur
