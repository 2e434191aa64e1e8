// Le programme à fenêtres lancé par CreateProcessW. Windows ne sait pas remplacer un
// processus : on l'attend et on rend son code, comme l'aurait vu l'appelant.
#include "cli/LancementVoisin.h"

#include "foundation/CheminNatif.h"
#include "foundation/ConstantesWin32.h"
#include "foundation/DossiersUtilisateur.h"
#include "foundation/win32/Utf16.h"

#include <cstdio>
#include <cwctype>
#include <string_view>

namespace emporteur::cli {

namespace {
bool EstVariableServeur(std::wstring_view entree) {
    constexpr std::wstring_view kNom = L"EMPORTEUR_SERVEUR=";
    if (entree.size() < kNom.size()) return false;
    for (std::size_t i = 0; i < kNom.size(); ++i) // noms de variables sans casse
        if (std::towupper(entree[i]) != kNom[i]) return false;
    return true;
}

// Bloc d'environnement UTF-16 (entrées terminées par un nul, un nul de plus à la fin).
std::wstring EnvironnementLance(const std::optional<std::string>& serveur) {
    std::wstring bloc;
    if (LPWCH actuel = GetEnvironmentStringsW()) {
        for (LPWCH e = actuel; *e; e += std::wcslen(e) + 1)
            if (!serveur || !EstVariableServeur(e)) bloc.append(e).push_back(L'\0');
        FreeEnvironmentStringsW(actuel);
    }
    if (serveur) bloc.append(L"EMPORTEUR_SERVEUR=" + VersUtf16(*serveur)).push_back(L'\0');
    bloc.push_back(L'\0');
    return bloc;
}
} // namespace

int LancerEmporteurVoisin(const std::string& mot, const std::optional<std::string>& serveur) {
    const auto programme = CheminNatif(CheminProgramme()).parent_path() / L"emporteur.exe";
    std::wstring ligne = L"\"" + programme.wstring() + L"\" " + VersUtf16(mot);
    std::wstring environnement = EnvironnementLance(serveur);
    STARTUPINFOW demarrage{};
    demarrage.cb = sizeof demarrage;
    PROCESS_INFORMATION processus{};
    std::fflush(stdout);
    if (!CreateProcessW(programme.c_str(), ligne.data(), nullptr, nullptr, FALSE,
                        CREATE_UNICODE_ENVIRONMENT, environnement.data(), nullptr, &demarrage,
                        &processus)) {
        std::fprintf(stderr, "Impossible de lancer %s : erreur code %lu\n",
                     CheminUtf8(programme).c_str(), GetLastError());
        return 127;
    }
    CloseHandle(processus.hThread);
    WaitForSingleObject(processus.hProcess, INFINITE);
    DWORD code = 127;
    GetExitCodeProcess(processus.hProcess, &code);
    CloseHandle(processus.hProcess);
    return static_cast<int>(code);
}

} // namespace emporteur::cli
