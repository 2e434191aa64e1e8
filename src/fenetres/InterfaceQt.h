#pragma once
// L'interface utilisateur du frontal Qt. Les fenêtres vivent sur le fil de
// l'interface : une question posée d'un autre fil (le fil du téléchargement) y est
// transmise par le guichet des questions, et ce fil attend la réponse ; pendant une
// annulation, les questions en attente sont refusées.

#include "foundation/GuichetQuestions.h"
#include "foundation/InterfaceUtilisateur.h"

#include <functional>
#include <optional>

namespace emporteur::fenetres {

// Vrai si quelque chose peut ouvrir ce fichier : sous Linux, xdg-open et, pour un
// exécutable Windows, un programme enregistré pour son type ; toujours vrai ailleurs.
bool SystemeSaitOuvrir(const std::string& chemin);

class InterfaceQt : public InterfaceUtilisateur {
  public:
    InterfaceQt();

    Reponse BoiteMessage(const std::string& texte, const std::string& titre,
                         unsigned style) override;
    bool DemanderIdentifiants(const std::string& adresse, bool mandataire, std::string& utilisateur,
                              std::string& motDePasse) override;
    bool Ouvrir(const std::string& cible) override;
    bool Explorer(const std::string& dossier) override;
    bool SaitOuvrir(const std::string& chemin) override { return SystemeSaitOuvrir(chemin); }
    bool ChoisirDossier(const std::string& titre, std::string& chemin) override;
    bool MettreAuPremierPlan(const std::string& titre) override;
    void TerminerProcessus(int code) override;
    void RefuserQuestionsEnAttente() override;

    // Ce que fait une fin demandée par le noyau (fermer le livret), sur le fil de l'interface.
    void FixerFin(std::function<void()> fin) { fin_ = std::move(fin); }
    // Le code de la fin demandée, s'il y en a eu une.
    std::optional<int> CodeDeFin() const { return code_; }

  private:
    // Exécute `travail` sur le fil de l'interface ; d'un autre fil, attend qu'il y soit
    // fait. Faux si la question a été refusée (annulation en cours) : rien n'a été montré.
    bool SurFilInterface(const std::function<void()>& travail);

    GuichetQuestions guichet_;
    std::function<void()> fin_;
    std::optional<int> code_;
};

// Met au premier plan la fenêtre de premier niveau de ce titre exact, sous X11 ;
// faux ailleurs ou si aucune ne porte ce titre.
bool MettreAuPremierPlanX11(const std::string& titre);

} // namespace emporteur::fenetres
