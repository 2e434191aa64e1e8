#pragma once
// Le livret de l'assistant : cinq pages dans l'ordre accueil (130), liste des
// versions (133), destination (134), téléchargement (106), fin (131). Aucun retour
// en arrière ; une page qui décline son activation fait passer à la suivante ; une
// demande de fin termine le programme.

#include "commun/ContexteTelechargement.h"
#include "commun/ModeExecution.h"

#include <QWizard>

#include <functional>
#include <memory>
#include <set>
#include <vector>

namespace emporteur {
class DernierAvis;
class DialogueAvis;
} // namespace emporteur

namespace emporteur::fenetres {

class PageLivret;
class PageBienvenue;
class PageListeVersion;
class PageDestination;

inline constexpr int kPageBienvenue = 130;
inline constexpr int kPageListeVersion = 133;
inline constexpr int kPageDestination = 134;
inline constexpr int kPageTelechargement = 106;
inline constexpr int kPageTerminay = 131;

class Livret : public QWizard {
    Q_OBJECT
  public:
    // `connexion` : le test de connexion du mode discret (remplaçable en test).
    Livret(ContexteTelechargement& ctx, ModeExecution mode, DernierAvis& avis,
           DialogueAvis& dialogue, std::function<bool()> connexion);
    ~Livret() override;

    // Active les premières pages avant tout affichage (les modes automatiques y font
    // leur vérification). Faux : la fin est demandée, rien ne doit s'afficher.
    bool Preparer();

    // Demande de fin : le livret se ferme et le programme se termine.
    void DemanderFin();
    bool FinDemandee() const { return finDemandee_; }

    PageLivret* Page(int id) const;
    int nextId() const override;
    // Annuler, Échap ou la fermeture : la page courante s'arrête d'abord.
    void reject() override;

  private:
    void Activation(int id);
    bool ActiverPage(int id);

    std::vector<int> ordre_;
    std::set<int> activees_;
    bool finDemandee_ = false;
};

} // namespace emporteur::fenetres
