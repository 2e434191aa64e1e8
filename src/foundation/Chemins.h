#pragma once
// Édition des chemins en place. Le séparateur est celui du système : "\" sous Windows,
// où "/" est reconnu aussi (le système l'accepte), "/" ailleurs. Aucune limite de
// longueur : un chemin n'est jamais tronqué.

#include <filesystem>
#include <string>

namespace emporteur {

inline constexpr char kSeparateur = static_cast<char>(std::filesystem::path::preferred_separator);
// Vrai là où les chemins commencent par une lettre de lecteur ("C:").
inline constexpr bool kLecteurs = kSeparateur == '\\';

// Vrai pour un séparateur reconnu : kSeparateur, et "/" partout.
constexpr bool EstSeparateur(char c) {
    return c == kSeparateur || c == '/';
}

// Ajoute kSeparateur sauf si la chaîne est vide ou finit déjà par un séparateur.
void AjouterBarre(std::string& chemin);
// Retire un séparateur final s'il y en a un.
void RetirerBarre(std::string& chemin);
// Coupe au dernier séparateur (lui compris) ; sans séparateur, la chaîne devient vide.
void RetirerDernierElement(std::string& chemin);
// Si le dernier élément contient un point, coupe au séparateur qui le précède ;
// le premier caractère n'est jamais examiné.
void RetirerNomFichier(std::string& chemin);

} // namespace emporteur
