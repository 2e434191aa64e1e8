#pragma once
// La page de destination (134) : le dossier de l'élément choisi, « Parcourir... » et
// Suivant qui crée au besoin le dossier puis le range ; la logique est celle de la
// destination, la page ne fait que relier la zone 1014 et le bouton 1015.

#include "commun/ContexteTelechargement.h"
#include "fenetres-win32/PageLivret.h"

namespace emporteur::win32 {

class PageDestination : public PageLivret {
  public:
    explicit PageDestination(ContexteTelechargement& ctx);

  protected:
    bool Activer() override;
    bool Suivant() override;
    bool Message(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& resultat) override;

  private:
    ContexteTelechargement& ctx_;
};

} // namespace emporteur::win32
