#pragma once
// Le contexte de téléchargement partagé, unique pendant que l'assistant tourne,
// joignable de partout par Contexte().

#include "app/ModeExecution.h"
#include "app/ParametresConnexion.h"
#include "catalogue/Recette.h"
#include "foundation/InterfaceUtilisateur.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace emporteur {

class ContexteTelechargement {
  public:
    // S'enregistre comme le contexte courant ; l'interface doit lui survivre.
    ContexteTelechargement(ModeExecution mode, InterfaceUtilisateur& interface);
    ~ContexteTelechargement();
    ContexteTelechargement(const ContexteTelechargement&) = delete;
    ContexteTelechargement& operator=(const ContexteTelechargement&) = delete;

    // La recette à IndiceChoisi, ou nullptr hors de la liste.
    Recette* RecetteChoisie() const;

    std::string VersionAffichee;
    bool ModeMiseANiveau = false;
    bool ModeDiscret = false;
    std::int32_t MajeurBoutique = -1;
    std::string ProduitBoutique;
    std::int32_t IndiceChoisi = 0;
    bool NePlusAviser = false;
    bool TropAncien = false;
    bool DemanderUneFois = true;
    std::vector<std::unique_ptr<Recette>> Recettes;
    ParametresConnexion Connexion;
    std::string VersionInstallee;

    InterfaceUtilisateur& Interface;
};

// Le contexte courant ; nullptr quand aucun n'existe.
ContexteTelechargement* Contexte();

} // namespace emporteur
