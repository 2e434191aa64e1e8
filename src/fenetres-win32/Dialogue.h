#pragma once
// Un dialogue fait de son modèle (dialogues.rc), modal pour le programme, sans mode
// pour les essais qui le pilotent par messages. Les dialogues dérivés ne font que
// relier leurs contrôles à la logique de l'assistant.

#include "foundation/ConstantesWin32.h"

#include <optional>
#include <string>
#include <string_view>

namespace emporteur::win32 {

class Dialogue {
  public:
    explicit Dialogue(int modele) : modele_(modele) {}
    virtual ~Dialogue();
    Dialogue(const Dialogue&) = delete;
    Dialogue& operator=(const Dialogue&) = delete;

    // Modal, sur le modèle du module du programme ; rend le code de fin.
    INT_PTR Executer(HWND proprietaire = nullptr);
    // Sans mode, visible ; sa fin le cache et note son code (Fin). Nul en cas d'échec.
    HWND Creer(HWND proprietaire = nullptr);

    HWND Fenetre() const { return fenetre_; }
    HWND Controle(int id) const { return GetDlgItem(fenetre_, id); }
    // Le code de fin d'un dialogue sans mode, s'il a fini.
    std::optional<INT_PTR> Fin() const { return fin_; }

    void FixerTexte(int id, std::string_view utf8) const;
    std::string Texte(int id) const;

  protected:
    // WM_INITDIALOG : les contrôles existent. Vrai : le focus va au premier contrôle à
    // tabulation ; faux : Initialiser l'a placé.
    virtual bool Initialiser() { return true; }
    // WM_COMMAND ; vrai si traité.
    virtual bool Commande(int id, int notification) = 0;
    // Tout autre message ; vrai si traité, `resultat` alors rendu.
    virtual bool Message(UINT message, WPARAM w, LPARAM l, INT_PTR& resultat);

    // Termine le dialogue avec ce code (modal : EndDialog ; sans mode : caché).
    void Finir(INT_PTR code);

  private:
    static INT_PTR CALLBACK Procedure(HWND fenetre, UINT message, WPARAM w, LPARAM l);
    INT_PTR Traiter(UINT message, WPARAM w, LPARAM l);

    int modele_;
    HWND fenetre_ = nullptr;
    bool modal_ = false;
    std::optional<INT_PTR> fin_;
};

} // namespace emporteur::win32
