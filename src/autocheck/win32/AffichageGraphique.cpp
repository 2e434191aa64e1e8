#include "autocheck/AffichageGraphique.h"

#include "foundation/ConstantesWin32.h"

namespace emporteur {

// Un programme lancé dans la session d'un utilisateur a toujours un bureau. Seul un
// service (station de fenêtres invisible, session 0) n'en a pas : ses fenêtres
// n'apparaîtraient nulle part.
bool AffichageDisponible() {
    USEROBJECTFLAGS drapeaux{};
    const HWINSTA station = ::GetProcessWindowStation();
    if (!station ||
        !::GetUserObjectInformationW(station, UOI_FLAGS, &drapeaux, sizeof drapeaux, nullptr))
        return true; // dans le doute, on laisse la fenêtre essayer
    return (drapeaux.dwFlags & WSF_VISIBLE) != 0;
}

} // namespace emporteur
