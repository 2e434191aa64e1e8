#pragma once
// La question d'identifiants après un 401 ou un 407 : l'adresse qui les demande (pas
// pour le mandataire), l'utilisateur et le mot de passe. Rend IDOK ou IDCANCEL.

#include "fenetres-win32/Dialogue.h"

#include <string>

namespace emporteur::win32 {

class DialogueIdentifiants : public Dialogue {
  public:
    DialogueIdentifiants(std::string adresse, bool mandataire);

    // Ce qui était saisi quand OK a été pressé.
    const std::string& Utilisateur() const { return utilisateur_; }
    const std::string& MotDePasse() const { return motDePasse_; }

  protected:
    bool Initialiser() override;
    bool Commande(int id, int notification) override;

  private:
    std::string adresse_;
    bool mandataire_;
    std::string utilisateur_;
    std::string motDePasse_;
};

} // namespace emporteur::win32
