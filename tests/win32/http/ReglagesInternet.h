#pragma once
// Réglages Internet de l'utilisateur (ProxyServer, ProxyEnable) le temps d'un test,
// pour ce processus seul : HKEY_CURRENT_USER y est détourné vers une clé volatile
// propre au test, que WinINet lit aussi. Les tests lancés en parallèle, et le préfixe
// wine, gardent leurs vrais réglages.

#include "foundation/ConstantesWin32.h"

#include <optional>
#include <string>

namespace emporteur::test {

class ReglagesInternet {
  public:
    // nullopt : valeur absente.
    ReglagesInternet(const std::optional<std::wstring>& serveur, std::optional<DWORD> actif) {
        racine_ = L"Software\\EmporteurTests\\" + std::to_wstring(GetCurrentProcessId());
        RegCreateKeyExW(HKEY_CURRENT_USER, racine_.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &detour_, nullptr);
        RegOverridePredefKey(HKEY_CURRENT_USER, detour_);
        HKEY cle = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER,
                        L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", 0,
                        nullptr, REG_OPTION_VOLATILE, KEY_WRITE, nullptr, &cle, nullptr);
        if (serveur)
            RegSetValueExW(cle, L"ProxyServer", 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(serveur->c_str()),
                           static_cast<DWORD>((serveur->size() + 1) * sizeof(wchar_t)));
        if (actif)
            RegSetValueExW(cle, L"ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*actif),
                           sizeof(DWORD));
        RegCloseKey(cle);
    }
    ~ReglagesInternet() {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegCloseKey(detour_);
        RegDeleteTreeW(HKEY_CURRENT_USER, racine_.c_str());
    }
    ReglagesInternet(const ReglagesInternet&) = delete;
    ReglagesInternet& operator=(const ReglagesInternet&) = delete;

  private:
    std::wstring racine_;
    HKEY detour_ = nullptr;
};

} // namespace emporteur::test
