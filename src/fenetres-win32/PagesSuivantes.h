#pragma once
// Les pages du téléchargement (106) et de la fin (131).
//
// Téléchargement : la tâche part une fois, sur son fil, à la première activation, par
// l'exécuteur commun ; une minuterie de 50 ms relève sa progression. À la fin de la
// tâche la page demande la suivante ; son départ fait l'arrêt, qui retient la page et
// annonce l'échec une fois. Annuler arrête la tâche (10 s au plus) avant la fermeture.
//
// Fin : le compte rendu fichier par fichier, le dossier, la case de lancement ;
// Terminer lance au besoin le programme téléchargé et attend sa fenêtre (5 s au plus).

#include "assistant/ExecuteurTache.h"
#include "commun/ContexteTelechargement.h"
#include "fenetres-win32/PageLivret.h"

#include <memory>

namespace emporteur::win32 {

class PageTelechargement : public PageLivret {
  public:
    explicit PageTelechargement(ContexteTelechargement& ctx);

    // Vrai tant que le fil de travail n'a pas rendu son code (pour les essais).
    bool FilActif() const { return execution_ && execution_->Demarre() && !execution_->Code(); }

  protected:
    bool Activer() override;
    bool PeutPartir() override;
    void Annulation() override;
    bool Message(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& resultat) override;

  private:
    void Releve();
    bool Arreter(bool annulation);

    ContexteTelechargement& ctx_;
    std::unique_ptr<ExecuteurTache> execution_;
    UINT_PTR minuterie_ = 0;
    bool echecSignale_ = false; // l'échec n'est annoncé qu'une fois
};

class PageTerminay : public PageLivret {
  public:
    explicit PageTerminay(ContexteTelechargement& ctx);

  protected:
    void Initialiser() override;
    bool Activer() override;
    bool Terminer() override;
    bool Message(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& resultat) override;

  private:
    ContexteTelechargement& ctx_;
};

} // namespace emporteur::win32
