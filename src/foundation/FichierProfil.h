#pragma once
// Lecture des textes d'une section d'un fichier INI, comme GetPrivateProfileStringA :
// section et clé comparées sans casse, valeur sans blancs autour ni guillemets
// englobants, texte par défaut si la clé manque.

#include <cstddef>
#include <string>

namespace emporteur {

class FichierProfil {
  public:
    // Un nom nu est cherché dans le dossier Windows (DossierSysteme()) ; un chemin est
    // vérifié tel quel. Introuvable : le nom est gardé tel quel.
    explicit FichierProfil(const std::string& section = {}, const std::string& fichier = {});

    // Vrai si au moins un caractère est rendu (la valeur, ou un défaut non vide). Le
    // texte est coupé pour tenir avec son zéro final dans `taille` octets, jamais au
    // milieu d'un caractère UTF-8.
    bool LireTexte(const std::string& cle, std::string& sortie, std::size_t taille,
                   const std::string& defaut) const;

    const std::string& Section() const { return section_; }
    const std::string& Fichier() const { return fichier_; }

  private:
    std::string section_;
    std::string fichier_;
};

} // namespace emporteur
