#pragma once
// Le dialogue du mandataire : s'ouvre sur le réglage du système, Confirmer (Entrée)
// garde le serveur et le port saisis, Annuler (Échap, ou la fermeture par la case)
// revient à « sans mandataire ». Rend IDOK ou IDCANCEL.

#include "commun/ParametresConnexion.h"
#include "fenetres-win32/Dialogue.h"

namespace emporteur::win32 {

class ParametresProxy : public Dialogue {
  public:
    explicit ParametresProxy(ParametresConnexion& parametres);

  protected:
    bool Initialiser() override;
    bool Commande(int id, int notification) override;

  private:
    ParametresConnexion& parametres_;
};

} // namespace emporteur::win32
