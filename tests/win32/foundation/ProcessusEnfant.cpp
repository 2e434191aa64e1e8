#include "ProcessusEnfant.h"

#include "foundation/ConstantesWin32.h"
#include "foundation/win32/Utf16.h"

#include <vector>

namespace emporteur::test {

namespace {
constexpr const wchar_t* kVariable = L"EMPORTEUR_ENFANT";
} // namespace

std::string CetExecutable() {
    std::vector<wchar_t> tampon(32768);
    const DWORD n = GetModuleFileNameW(nullptr, tampon.data(), static_cast<DWORD>(tampon.size()));
    return DepuisUtf16(std::wstring_view(tampon.data(), n));
}

std::string Consigne() {
    std::vector<wchar_t> tampon(32768);
    const DWORD n =
        GetEnvironmentVariableW(kVariable, tampon.data(), static_cast<DWORD>(tampon.size()));
    return n && n < tampon.size() ? DepuisUtf16(std::wstring_view(tampon.data(), n)) : "";
}

namespace {
int Lancer(const wchar_t* exe, std::wstring ligne) {
    STARTUPINFOW demarrage{};
    demarrage.cb = sizeof demarrage;
    PROCESS_INFORMATION processus{};
    if (!CreateProcessW(exe, ligne.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &demarrage,
                        &processus))
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(processus.hProcess, 120000) != WAIT_OBJECT_0)
        TerminateProcess(processus.hProcess, 1);
    else
        GetExitCodeProcess(processus.hProcess, &code);
    CloseHandle(processus.hThread);
    CloseHandle(processus.hProcess);
    return static_cast<int>(code);
}
} // namespace

int LancerCommande(const std::string& ligne) {
    return Lancer(nullptr, VersUtf16(ligne));
}

int LancerEnfant(const std::string& test, const std::string& consigne,
                 const std::string& programme) {
    const std::wstring exe = VersUtf16(programme.empty() ? CetExecutable() : programme);
    // L'enfant hérite de l'environnement : la consigne n'y est que le temps du lancement.
    SetEnvironmentVariableW(kVariable, VersUtf16(consigne).c_str());
    const int code = Lancer(exe.c_str(), L"\"" + exe + L"\" --gtest_filter=" + VersUtf16(test));
    SetEnvironmentVariableW(kVariable, nullptr);
    return code;
}

} // namespace emporteur::test
