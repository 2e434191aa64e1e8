// emporteur-verification.exe : ce que lance la valeur Run à l'ouverture de session.
// Il passe la main à « emporteur-cli.exe verification-programmee », sans console : la
// décision (une nouveauté que « Ne plus aviser » n'a pas écartée) est celle de
// l'outil, qui lance alors emporteur.exe MajDiscrete, comme le minuteur de la session
// sous Linux. Lancé directement par la valeur Run, emporteur.exe MajDiscrete
// reviendrait à chaque session avec une offre écartée ; emporteur-cli.exe, programme
// console, y ouvrirait une console.
#include "foundation/ConstantesWin32.h"

#include <string>

namespace {
// Le dossier de ce programme, barre finale comprise ; vide en cas d'échec.
std::wstring DossierProgramme() {
    std::wstring chemin(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n =
            GetModuleFileNameW(nullptr, chemin.data(), static_cast<DWORD>(chemin.size()));
        if (n == 0) return {};
        if (n < chemin.size()) {
            chemin.resize(n);
            break;
        }
        if (chemin.size() >= 32768) return {}; // au-delà des chemins longs de Windows
        chemin.resize(chemin.size() * 2);
    }
    const auto barre = chemin.find_last_of(L'\\');
    return barre == std::wstring::npos ? std::wstring() : chemin.substr(0, barre + 1);
}
} // namespace

// Code : celui de emporteur-cli.exe, ou 127 s'il n'a pu être lancé.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::wstring dossier = DossierProgramme();
    if (dossier.empty()) return 127;
    const std::wstring outil = dossier + L"emporteur-cli.exe";
    std::wstring ligne = L"\"" + outil + L"\" verification-programmee";
    STARTUPINFOW demarrage{};
    demarrage.cb = sizeof demarrage;
    PROCESS_INFORMATION processus{};
    if (!CreateProcessW(outil.c_str(), ligne.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                        nullptr, dossier.c_str(), &demarrage, &processus))
        return 127;
    CloseHandle(processus.hThread);
    WaitForSingleObject(processus.hProcess, INFINITE);
    DWORD code = 127;
    GetExitCodeProcess(processus.hProcess, &code);
    CloseHandle(processus.hProcess);
    return static_cast<int>(code);
}
