#pragma once
// L'outil de calcul des listes CRC de l'administrateur, ouvert par « /a » (en toute
// casse) : taille de segment, fichier, « Calculer » disponible selon la règle de
// l'outil, la liste et la taille totale. Le calcul tourne hors du fil de l'interface ;
// « Terminé » (ou la fermeture) pendant un calcul l'arrête proprement.

#include "assistant/LogiqueModeAdmin.h"
#include "fenetres-win32/Dialogue.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace emporteur::win32 {

class ModeAdmin : public Dialogue {
  public:
    // Le choix d'un fichier existant ; rien si l'utilisateur renonce. Par défaut, celui
    // du shell.
    using ChoixFichier = std::function<std::optional<std::string>(HWND)>;
    explicit ModeAdmin(ChoixFichier choisirFichier = {});
    ~ModeAdmin() override;

    // Vrai pendant un calcul (pour les essais).
    bool CalculEnCours() const { return calcul_.joinable(); }

  protected:
    bool Commande(int id, int notification) override;
    bool Message(UINT message, WPARAM w, LPARAM l, INT_PTR& resultat) override;

  private:
    void TailleModifiee();
    void Parcourir();
    void Calculer();
    void Resultat();
    void ArreterCalcul();
    void RegleCalculer() const;

    EtatModeAdmin etat_;
    ChoixFichier choisirFichier_;
    std::thread calcul_;
    std::atomic<bool> annulation_{false};
    std::mutex verrouResultat_;
    TextesCalculCrc resultat_;
};

} // namespace emporteur::win32
