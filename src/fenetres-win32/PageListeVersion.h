#pragma once
// La liste des versions (133) : des cases à cocher créées à l'exécution, groupées
// sous des rubriques empilées dans le cadre 1066 que la barre 1067 fait défiler
// (chemin ordinaire), ou dans le cadre 1064 (mise à niveau). La disposition, en
// pixels, est celle du modèle de la liste ; Suivant et le rassemblement du choix
// sont ceux de la logique de la liste.

#include "commun/ContexteTelechargement.h"
#include "fenetres-win32/PageLivret.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace emporteur::win32 {

class PageListeVersion : public PageLivret {
  public:
    PageListeVersion(ContexteTelechargement& ctx, ModeExecution mode);

    // Le mode de la page, que l'accueil peut ramener à Ordinaire.
    ModeExecution& Mode() { return mode_; }
    // Défilement du cadre, en pixels (pour les essais).
    int Decalage() const { return decalage_; }

  protected:
    bool Activer() override;
    bool Suivant() override;
    void Quitter() override;
    bool Message(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& resultat) override;

  private:
    void Construire();
    void Vider();
    void Defiler(WPARAM wparam);
    int Curseur(WPARAM wparam) const;
    void DefilerDe(int delta);
    std::vector<bool> Cochees() const;

    ContexteTelechargement& ctx_;
    ModeExecution mode_;
    std::vector<HWND> rubriques_;     // créées dans le cadre 1066
    std::vector<int> hautsRubriques_; // leur haut, sans défilement
    int gaucheRubriques_ = 0;
    std::vector<std::pair<std::size_t, HWND>> cases_; // indice dans Recettes, case
    int decalage_ = 0;
    int hauteurContenu_ = 0;
    int hauteurVisible_ = 0;
};

} // namespace emporteur::win32
