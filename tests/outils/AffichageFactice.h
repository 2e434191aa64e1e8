#pragma once
// Un « affichage » qui accepte les connexions : un socket local en écoute, nommé par
// WAYLAND_DISPLAY (chemin absolu) le temps de l'objet. DISPLAY et QT_QPA_PLATFORM
// sont retirés, pour que seul lui compte. Sans instance, AffichageAbsent les retire tous.

#include "outils/DossierTemporaire.h"

namespace emporteur::test {

class AffichageAbsent {
  public:
    AffichageAbsent();

  private:
    VariableTemporaire wayland_, x11_, plateforme_;
};

class AffichageFactice {
  public:
    AffichageFactice();
    ~AffichageFactice();
    AffichageFactice(const AffichageFactice&) = delete;
    AffichageFactice& operator=(const AffichageFactice&) = delete;
    const std::string& Chemin() const { return chemin_; }

  private:
    DossierTemporaire dossier_;
    std::string chemin_;
    int fd_ = -1;
    VariableTemporaire wayland_, x11_, plateforme_;
};

} // namespace emporteur::test
