#pragma once
// L'interface utilisateur du frontal Windows : boîtes MessageBoxW, question
// d'identifiants, choix d'un dossier par le shell, ouverture par ShellExecuteW,
// premier plan par titre. Les fenêtres vivent sur le fil qui a construit l'interface
// (celui de l'interface) : une question posée d'un autre fil (le téléchargement) y
// est transmise par le guichet des questions, servi par une fenêtre de messages que
// toute boucle modale (livret, dialogues) fait tourner ; le fil qui pose attend.

#include "foundation/ConstantesWin32.h"
#include "foundation/GuichetQuestions.h"
#include "foundation/InterfaceUtilisateur.h"

#include <functional>
#include <optional>

namespace emporteur::win32 {

class InterfaceWin32 : public InterfaceUtilisateur {
  public:
    // À construire sur le fil de l'interface.
    InterfaceWin32();
    ~InterfaceWin32() override;
    InterfaceWin32(const InterfaceWin32&) = delete;
    InterfaceWin32& operator=(const InterfaceWin32&) = delete;

    Reponse BoiteMessage(const std::string& texte, const std::string& titre,
                         unsigned style) override;
    bool DemanderIdentifiants(const std::string& adresse, bool mandataire, std::string& utilisateur,
                              std::string& motDePasse) override;
    bool Ouvrir(const std::string& cible) override;
    bool Explorer(const std::string& dossier) override;
    bool ChoisirDossier(const std::string& titre, std::string& chemin) override;
    bool MettreAuPremierPlan(const std::string& titre) override;
    void TerminerProcessus(int code) override;
    void RefuserQuestionsEnAttente() override;

    // Ce que fait une fin demandée par le noyau (fermer le livret), sur le fil de
    // l'interface ; sans elle, WM_QUIT y est posté.
    void FixerFin(std::function<void()> fin) { fin_ = std::move(fin); }
    // Le code de la fin demandée, s'il y en a eu une.
    std::optional<int> CodeDeFin() const { return code_; }

  private:
    // Exécute `travail` sur le fil de l'interface ; d'un autre fil, attend qu'il y soit
    // fait. Faux si la question a été refusée (annulation en cours) : rien n'a été montré.
    bool SurFilInterface(const std::function<void()>& travail);
    static LRESULT CALLBACK ProcedureGuichet(HWND fenetre, UINT message, WPARAM w, LPARAM l);

    DWORD filInterface_;
    HWND guichetFenetre_ = nullptr;
    GuichetQuestions guichet_;
    std::function<void()> fin_;
    std::optional<int> code_;
};

} // namespace emporteur::win32
