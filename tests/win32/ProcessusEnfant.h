#pragma once
// Un second processus pour les tests de Windows, qui n'a pas fork : l'exécutable de
// test se relance lui-même sur un seul test, une variable d'environnement lui disant
// quoi faire. Tué à la destruction s'il vit encore.

#include "foundation/ConstantesWin32.h"
#include "foundation/win32/Utf16.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

namespace emporteur::test {

class ProcessusEnfant {
  public:
    // Lance « exe --gtest_filter=`filtre` » avec `variable`=`valeur` dans son environnement.
    ProcessusEnfant(const std::string& filtre, const std::string& variable,
                    const std::string& valeur) {
        wchar_t exe[MAX_PATH * 4];
        ::GetModuleFileNameW(nullptr, exe, static_cast<DWORD>(std::size(exe)));
        std::wstring ligne = L"\"" + std::wstring(exe) + L"\" --gtest_filter=" + VersUtf16(filtre);
        const std::wstring nom = VersUtf16(variable);
        ::SetEnvironmentVariableW(nom.c_str(), VersUtf16(valeur).c_str());
        STARTUPINFOW demarrage{};
        demarrage.cb = sizeof demarrage;
        lance_ = ::CreateProcessW(exe, ligne.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                  &demarrage, &infos_);
        ::SetEnvironmentVariableW(nom.c_str(), nullptr); // le parent n'est pas un enfant
        if (lance_) ::CloseHandle(infos_.hThread);
    }
    ~ProcessusEnfant() {
        if (!lance_) return;
        if (::WaitForSingleObject(infos_.hProcess, 0) == WAIT_TIMEOUT)
            ::TerminateProcess(infos_.hProcess, 99);
        ::WaitForSingleObject(infos_.hProcess, 30000);
        ::CloseHandle(infos_.hProcess);
    }
    ProcessusEnfant(const ProcessusEnfant&) = delete;
    ProcessusEnfant& operator=(const ProcessusEnfant&) = delete;

    bool Lance() const { return lance_; }
    // Code de sortie, ou -1 si le processus vit encore après `ms`.
    int Attendre(DWORD ms) {
        if (!lance_ || ::WaitForSingleObject(infos_.hProcess, ms) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        ::GetExitCodeProcess(infos_.hProcess, &code);
        return static_cast<int>(code);
    }
    void Tuer() {
        ::TerminateProcess(infos_.hProcess, 99);
        ::WaitForSingleObject(infos_.hProcess, 30000);
    }

  private:
    bool lance_ = false;
    PROCESS_INFORMATION infos_{};
};

// Attend qu'une condition devienne vraie, au plus `secondes` (marge large : machine chargée).
template <class Condition> bool AttendreQue(Condition condition, int secondes = 60) {
    const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(secondes);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > limite) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// Valeur d'une variable d'environnement, vide si absente.
inline std::string Variable(const char* nom) {
    wchar_t valeur[4096];
    const DWORD n = ::GetEnvironmentVariableW(VersUtf16(nom).c_str(), valeur,
                                              static_cast<DWORD>(std::size(valeur)));
    return n == 0 || n >= std::size(valeur) ? std::string() : DepuisUtf16({valeur, n});
}

} // namespace emporteur::test
