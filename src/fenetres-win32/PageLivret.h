#pragma once
// Une page du livret Windows, faite de son modèle (pages.rc). Le livret lui transmet
// ses notifications : elle règle ses boutons quand elle devient courante, peut décliner
// son activation (le livret passe à la suivante), décide de Suivant, peut refuser
// qu'on la quitte, et réagit à Annuler et à Terminer. Aucune dépendance au noyau :
// les pages de l'assistant en dérivent.

#include "foundation/ConstantesWin32.h"

#include <commctrl.h>
#include <prsht.h>

namespace emporteur::win32 {

class PageLivret {
  public:
    // `modele` : l'identifiant du modèle de dialogue de la page.
    explicit PageLivret(int modele) : modele_(modele) {}
    virtual ~PageLivret() = default;
    PageLivret(const PageLivret&) = delete;
    PageLivret& operator=(const PageLivret&) = delete;

    int Modele() const { return modele_; }
    HWND Fenetre() const { return fenetre_; }
    // La fenêtre du livret (le parent de la page), nulle avant la création de la page.
    HWND Livret() const { return fenetre_ ? GetParent(fenetre_) : nullptr; }
    HWND Controle(int id) const { return GetDlgItem(fenetre_, id); }

    // Description de la page pour CreatePropertySheetPageW : modèle de `module`, sans aide.
    PROPSHEETPAGEW Description(HINSTANCE module);

    // Boutons de la page : Suivant seul (Précédent ne l'est jamais), aucun, ou Terminer
    // seul. Posté au livret, comme le fait la page à son activation.
    enum class Boutons { Suivant, Aucun, Terminer };
    void FixerBoutons(Boutons boutons) const;

  protected:
    // WM_INITDIALOG : les contrôles existent.
    virtual void Initialiser() {}
    // La page devient courante ; faux : elle décline, le livret passe à la suivante.
    virtual bool Activer() { return true; }
    // Suivant ; vrai pour passer à la page suivante, après Quitter.
    virtual bool Suivant() { return true; }
    // La page est quittée en avant, après un Suivant accepté.
    virtual void Quitter() {}
    // Le livret veut changer de page (Suivant accepté, ou page courante imposée) ;
    // faux : la page reste courante.
    virtual bool PeutPartir() { return true; }
    // Annuler pendant que la page est courante ; le livret se ferme ensuite.
    virtual void Annulation() {}
    // Terminer ; faux : le livret reste ouvert.
    virtual bool Terminer() { return true; }
    // Les autres messages de la page (commandes, minuterie, peinture…) ; vrai si traité.
    virtual bool Message(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& resultat) {
        (void)message, (void)wparam, (void)lparam, (void)resultat;
        return false;
    }

  private:
    static INT_PTR CALLBACK Procedure(HWND fenetre, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT Notification(const NMHDR& entete);

    int modele_;
    HWND fenetre_ = nullptr;
};

} // namespace emporteur::win32
