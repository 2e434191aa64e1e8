#pragma once
// La page d'accueil (130) : mise à jour gratuite ou mise à niveau, mandataire. Son
// Suivant récupère le catalogue par la logique de l'accueil, sous le curseur
// d'attente ; dans les modes automatiques, cette action est faite par Preparer, avant
// que le livret se montre, et décide de la première page montrée ou de la fin.

#include "assistant/LogiqueBienvenue.h"
#include "fenetres-win32/PageLivret.h"

#include <functional>
#include <optional>

namespace emporteur::win32 {

class PageBienvenue : public PageLivret {
  public:
    // `modeListe` : le mode de la page de liste, que l'accueil peut ramener à Ordinaire.
    PageBienvenue(ContexteTelechargement& ctx, ModeExecution mode, ModeExecution& modeListe,
                  DernierAvis& avis, DialogueAvis& dialogue, std::function<bool()> connexion);
    ~PageBienvenue() override;

    // Modes automatiques : l'action Suivant, à faire avant de montrer le livret. Rend
    // l'indice de la première page à montrer (0 : l'accueil ; 1 : la liste, l'accueil
    // décline), ou rien quand la fin est demandée.
    std::optional<int> Preparer();

  protected:
    void Initialiser() override;
    bool Activer() override;
    bool Suivant() override;
    bool Message(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& resultat) override;

  private:
    bool Suivre(ActionBienvenue action);
    void ReglerProxy();
    void Peindre();

    ContexteTelechargement& ctx_;
    ModeExecution mode_;
    LogiqueBienvenue logique_;
    HBITMAP image_ = nullptr; // 137, gris aux couleurs du relief
};

} // namespace emporteur::win32
