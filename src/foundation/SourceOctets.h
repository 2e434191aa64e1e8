#pragma once
// Lecture bornée d'octets à une position : une plage qui déborde de la source est un
// faux, jamais une lecture au-delà ni une grosse allocation.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace emporteur {

class SourceOctets {
  public:
    virtual ~SourceOctets() = default;
    virtual std::uint64_t Taille() const = 0;
    // Vrai si les `taille` octets à `position` existent tous et sont copiés dans `dest`.
    virtual bool Lire(std::uint64_t position, std::size_t taille, std::uint8_t* dest) const = 0;
    // Vrai si la plage tient dans la source (sans débordement arithmétique).
    bool Contient(std::uint64_t position, std::uint64_t taille) const {
        return position <= Taille() && taille <= Taille() - position;
    }
};

// Octets déjà en mémoire, non possédés.
class SourceMemoire : public SourceOctets {
  public:
    explicit SourceMemoire(std::span<const std::uint8_t> octets) : octets_(octets) {}
    std::uint64_t Taille() const override { return octets_.size(); }
    bool Lire(std::uint64_t position, std::size_t taille, std::uint8_t* dest) const override;

  private:
    std::span<const std::uint8_t> octets_;
};

// Fichier ordinaire lu par plages : sa taille n'est jamais chargée en entier.
class SourceFichier : public SourceOctets {
  public:
    // Nul si le chemin n'est pas un fichier ordinaire lisible.
    static std::unique_ptr<SourceFichier> Ouvrir(const std::string& chemin);
    ~SourceFichier() override;
    SourceFichier(const SourceFichier&) = delete;
    SourceFichier& operator=(const SourceFichier&) = delete;

    std::uint64_t Taille() const override { return taille_; }
    bool Lire(std::uint64_t position, std::size_t taille, std::uint8_t* dest) const override;

  private:
    SourceFichier(std::intptr_t descripteur, std::uint64_t taille)
        : descripteur_(descripteur), taille_(taille) {}
    // Descripteur du système : un fd (posix/) ou une HANDLE (win32/).
    std::intptr_t descripteur_;
    std::uint64_t taille_;
};

} // namespace emporteur
