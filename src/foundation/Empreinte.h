#pragma once
// Empreinte SHA-256 calculée par la bibliothèque cryptographique de la plateforme
// (jamais à la main) ; l'implémentation est dans posix/ ou win32/.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace emporteur {

using Sha256 = std::array<std::uint8_t, 32>;

class Empreinte {
  public:
    Empreinte();
    ~Empreinte();
    Empreinte(const Empreinte&) = delete;
    Empreinte& operator=(const Empreinte&) = delete;

    void Ajouter(const void* octets, std::size_t n);
    // L'empreinte des octets ajoutés ; l'objet repart ensuite à vide.
    Sha256 Finir();

  private:
    struct Etat;
    std::unique_ptr<Etat> etat_;
};

// L'empreinte d'un bloc d'octets.
Sha256 EmpreinteDe(std::string_view octets);
// 64 chiffres hexadécimaux minuscules.
std::string EnHexadecimal(const Sha256& empreinte);
// Faux si `texte` n'est pas exactement 64 chiffres hexadécimaux (casse indifférente).
bool LireHexadecimal(std::string_view texte, Sha256& empreinte);

} // namespace emporteur
