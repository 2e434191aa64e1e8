#pragma once
// Une page du livret : elle règle ses boutons quand elle devient courante, peut
// décliner son activation (le livret passe alors à la suivante), décide de Suivant
// et agit quand on la quitte en avant. Ses contrôles sont placés d'après son modèle.

#include "fenetres/UnitesDialogue.h"

#include <QWizardPage>

namespace emporteur::fenetres {

class Livret;

class PageLivret : public QWizardPage {
    Q_OBJECT
  public:
    // `cx` × `cy` : la taille du modèle, en unités de dialogue.
    PageLivret(Livret& livret, int cx, int cy);

    // La page devient courante ; faux : elle décline, le livret passe à la suivante.
    virtual bool Activer() { return true; }
    // Bouton Suivant ; vrai pour passer à la page suivante.
    virtual bool Suivant() { return true; }
    // La page est quittée en avant, après un Suivant accepté.
    virtual void Quitter() {}
    // Le livret est annulé pendant que la page est courante, juste avant sa fermeture.
    virtual void Annulation() {}

    // Le livret saute cette page sans la valider (activation déclinée).
    void Decliner() { declinee_ = true; }

    bool validatePage() final;
    bool isComplete() const override { return suivantActif_; }

    // Boutons de la page, fixés à son activation : Suivant seul (Précédent ne l'est
    // jamais), aucun, ou Terminer seul (la dernière page).
    enum class Boutons { Suivant, Aucun, Terminer };
    void FixerBoutons(Boutons boutons);

  protected:
    Livret& livret_;
    UnitesDialogue unites_;

  private:
    bool declinee_ = false;
    bool suivantActif_ = true;
};

} // namespace emporteur::fenetres
