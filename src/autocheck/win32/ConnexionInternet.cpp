#include "autocheck/ConnexionInternet.h"

#include "autocheck/win32/SondeWininet.h"
#include "foundation/ConstantesWin32.h"

namespace emporteur {

bool ConnexionSelon(const wchar_t* bibliotheque, const char* fonction) {
    const HMODULE module = ::LoadLibraryW(bibliotheque);
    if (!module) return false;
    using Fonction = BOOL(WINAPI*)(LPDWORD, DWORD);
    // GetProcAddress rend un pointeur générique : la conversion passe par void*.
    const auto etat =
        reinterpret_cast<Fonction>(reinterpret_cast<void*>(::GetProcAddress(module, fonction)));
    DWORD drapeaux = 0; // la description de la connexion n'est pas lue
    const bool connecte = etat && etat(&drapeaux, 0);
    ::FreeLibrary(module);
    return connecte;
}

bool ConnexionInternet() {
    return ConnexionSelon(L"wininet.dll", "InternetGetConnectedState");
}

} // namespace emporteur
