#pragma once
// Interface utilisateur de la console : les messages vont sur stderr ; les
// questions reçoivent la réponse par défaut de la boîte, ou celle qu'on a
// configurée ; l'entrée standard n'est lue que si on l'a demandé.

#include "foundation/InterfaceUtilisateur.h"

#include <cstdio>
#include <optional>

namespace emporteur {

class InterfaceConsole : public InterfaceUtilisateur {
  public:
    explicit InterfaceConsole(std::FILE* sortie = stderr) : sortie_(sortie) {}

    // Réponse imposée à toutes les boîtes (identifiant Windows), au lieu du défaut.
    void ImposerReponse(Reponse identifiant) { reponseImposee_ = identifiant; }
    // Identifiants donnés d'avance pour les 401/407 (sinon : refus).
    void FixerIdentifiants(std::string utilisateur, std::string motDePasse);
    // Autorise la lecture des réponses sur l'entrée standard.
    void AutoriserSaisie(bool oui) { saisie_ = oui; }
    // Les identifiants demandés par un serveur sont lus au clavier quand l'entrée
    // standard est un terminal, même sans saisie autorisée (mot de passe sans écho).
    void DemanderIdentifiantsAuTerminal(bool oui) { terminal_ = oui; }
    // Code de sortie imposé quand le noyau termine le processus (repli sur le
    // navigateur) : en console, ce repli n'est qu'une adresse imprimée, donc un échec.
    void ImposerCodeDeFin(int code) { codeDeFin_ = code; }

    Reponse BoiteMessage(const std::string& texte, const std::string& titre,
                         unsigned style) override;
    bool DemanderIdentifiants(const std::string& adresse, bool mandataire, std::string& utilisateur,
                              std::string& motDePasse) override;
    bool Ouvrir(const std::string& cible) override;
    bool Explorer(const std::string& dossier) override;
    bool ChoisirDossier(const std::string& titre, std::string& chemin) override;
    bool MettreAuPremierPlan(const std::string&) override { return false; }
    void TerminerProcessus(int code) override;

  private:
    std::FILE* sortie_;
    std::optional<Reponse> reponseImposee_;
    std::optional<std::pair<std::string, std::string>> identifiants_;
    bool saisie_ = false;
    bool terminal_ = false;
    std::optional<int> codeDeFin_;
};

} // namespace emporteur
