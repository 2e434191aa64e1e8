#pragma once
// Faux de InterfaceUtilisateur : réponses scriptées, chaque appel enregistré ;
// TerminerProcessus lève FinProcessus au lieu de sortir, ou revient si on le demande
// (comme le frontal graphique).

#include "foundation/InterfaceUtilisateur.h"

#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace emporteur::test {

struct FinProcessus {
    int code;
};

struct AppelInterface {
    std::string operation; // "BoiteMessage", "Ouvrir", "Identifiants"…
    std::string texte;
    std::string titre;
    unsigned style = 0;
};

class InterfaceEnregistreuse : public InterfaceUtilisateur {
  public:
    // Réponses des boîtes, dans l'ordre ; à défaut, la réponse par défaut de la boîte.
    std::deque<Reponse> reponses;
    // Réponses aux questions d'identifiants : vide = refus.
    struct Identifiants {
        std::string utilisateur, motDePasse;
    };
    std::deque<Identifiants> identifiants;
    std::deque<std::string> dossiersChoisis;
    // TerminerProcessus revient au lieu de lever.
    bool terminerRevient = false;

    Reponse BoiteMessage(const std::string& texte, const std::string& titre,
                         unsigned style) override;
    bool DemanderIdentifiants(const std::string& adresse, bool mandataire, std::string& utilisateur,
                              std::string& motDePasse) override;
    // Faux : Ouvrir et Explorer échouent, comme sans programme associé.
    bool ouvertureReussie = true;
    bool SaitOuvrir(const std::string& chemin) override;
    bool Ouvrir(const std::string& cible) override;
    bool Explorer(const std::string& dossier) override;
    bool ChoisirDossier(const std::string& titre, std::string& chemin) override;
    bool MettreAuPremierPlan(const std::string& titre) override;
    void TerminerProcessus(int code) override;

    std::vector<AppelInterface> Appels() const;
    // Les seuls appels d'une opération donnée.
    std::vector<AppelInterface> Appels(const std::string& operation) const;

  private:
    void Noter(AppelInterface appel);
    mutable std::mutex verrou_; // la question d'identifiants vient du fil de travail
    std::vector<AppelInterface> appels_;
};

} // namespace emporteur::test
