#pragma once
// La ligne de progression de la console, composée sans rien écrire : pourcentage,
// octets faits sur le total, débit, temps écoulé et restant. Elle ne dépasse jamais
// la largeur donnée : les champs se raccourcissent puis disparaissent dans un ordre
// fixe, la forme la plus courte tenant en 40 colonnes.

#include <cstdint>
#include <optional>
#include <string>

namespace emporteur::cli {

// Un instant du téléchargement, tel que la ligne le montre.
struct EtatLigne {
    std::int32_t pourcentage = 0;
    std::uint64_t faits = 0; // octets vérifiés, reçus ou déjà présents
    std::uint64_t total = 0;
    std::optional<double> debit;   // octets reçus par seconde ; vide tant qu'inconnu
    double ecoule = 0;             // secondes
    std::optional<double> restant; // secondes ; vide tant qu'inconnu
};

class LigneProgression {
  public:
    // `largeur` : colonnes du terminal. La ligne en prend au plus largeur − 1, pour
    // que le curseur ne passe jamais à la ligne suivante.
    explicit LigneProgression(int largeur) : largeur_(largeur) {}

    // La forme la plus complète qui tienne ; coupée au-dessous de 40 colonnes.
    std::string Composer(const EtatLigne& etat) const;

    // La forme complète, pour une sortie qui n'est pas un terminal.
    static std::string Complete(const EtatLigne& etat);

    // Colonnes occupées par un texte UTF-8 (un caractère, une colonne).
    static std::size_t Colonnes(const std::string& texte);

  private:
    int largeur_;
};

} // namespace emporteur::cli
