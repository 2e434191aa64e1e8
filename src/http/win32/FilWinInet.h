#pragma once
// Un fil qui fait les appels bloquants de WinINet pour le fil du transfert. Celui-ci
// attend par tranches d'une seconde, et s'en va sans attendre WinINet quand on le lui
// demande (interruption, débit trop faible) : sous wine, fermer la poignée d'une
// lecture bloquée ne la fait pas revenir. Le fil abandonné finit seul, plus tard, sur
// son propre état ; il ne touche jamais au tampon de l'appelant.

#include "foundation/ConstantesWin32.h"

#include <functional>
#include <memory>
#include <vector>

namespace emporteur {

class FilWinInet {
  public:
    // `appel` rend le BOOL de WinINet et pose `n` (octets lus ou disponibles).
    using Appel = std::function<BOOL(std::vector<char>& tampon, DWORD& n)>;
    struct Issue {
        BOOL Fait = FALSE;
        DWORD Erreur = 0; // GetLastError du fil, si l'appel a échoué
        DWORD N = 0;
    };

    explicit FilWinInet(std::size_t tailleTampon);
    ~FilWinInet();
    FilWinInet(const FilWinInet&) = delete;
    FilWinInet& operator=(const FilWinInet&) = delete;

    // Fait `appel` sur le fil ; `continuer` est consulté chaque seconde d'attente. Faux
    // s'il a dit d'arrêter : le fil est alors abandonné et ne sert plus.
    bool Executer(Appel appel, const std::function<bool()>& continuer, Issue& issue);
    // Les octets du dernier appel réussi (le tampon vit avec le fil).
    const std::vector<char>& Tampon() const;
    bool Abandonne() const { return abandonne_; }

  private:
    struct Etat;
    static void Boucle(std::shared_ptr<Etat> etat);
    std::shared_ptr<Etat> etat_;
    bool abandonne_ = false;
};

} // namespace emporteur
