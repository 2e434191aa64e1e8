#pragma once
// Le contexte de téléchargement partagé, unique pendant que l'assistant tourne ;
// chacun le reçoit de qui l'a créé.

#include "commun/ModeExecution.h"
#include "commun/ParametresConnexion.h"
#include "commun/Recette.h"
#include "foundation/InterfaceUtilisateur.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace emporteur {

class ContexteTelechargement {
  public:
    // L'interface doit lui survivre.
    ContexteTelechargement(ModeExecution mode, InterfaceUtilisateur& ui);
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
    // Clés qui signent le catalogue : celles de la construction ; un essai peut les
    // remplacer. Vide : textes non vérifiés.
    std::vector<std::string> ClesPubliques;
    // Serveur de téléchargement donné par l'appelant ("hote[:port]" ou une base
    // http(s)://) ; vide : celui de la construction ou de EMPORTEUR_SERVEUR.
    std::string Serveur;

    InterfaceUtilisateur& Interface;
};

} // namespace emporteur
