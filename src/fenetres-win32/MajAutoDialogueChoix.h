#pragma once
// L'avis de mise à jour des modes automatiques : Mise à niveau (3), Mise à jour (2),
// Plus tard / OK (0), case « Ne plus aviser ». Sans case de fermeture ; Échap et une
// fermeture demandée par le système valent « Plus tard ».

#include "autocheck/AvisMaj.h"
#include "fenetres-win32/Dialogue.h"

namespace emporteur::win32 {

class MajAutoDialogueChoix : public Dialogue {
  public:
    MajAutoDialogueChoix(ContexteTelechargement& ctx, bool miseAJour, bool miseANiveau,
                         ModeExecution mode);

  protected:
    bool Initialiser() override;
    bool Commande(int id, int notification) override;
    bool Message(UINT message, WPARAM w, LPARAM l, INT_PTR& resultat) override;

  private:
    void Fermer(FermetureAvis comment) { Finir(static_cast<INT_PTR>(FinDeFermeture(comment))); }

    ContexteTelechargement& ctx_;
    EtatAvis etat_;
};

// La boîte de l'avis que la logique de l'accueil appelle.
class DialogueAvisWin32 : public DialogueAvis {
  public:
    FinAvis Afficher(ContexteTelechargement& ctx, bool miseAJour, bool miseANiveau,
                     ModeExecution mode) override;
};

} // namespace emporteur::win32
