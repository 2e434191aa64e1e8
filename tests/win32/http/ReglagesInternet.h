#pragma once
// Pose ProxyServer et ProxyEnable dans les réglages Internet de l'utilisateur (le
// registre du préfixe wine) le temps d'un test, et rend les anciennes valeurs ensuite.

#include "foundation/ConstantesWin32.h"

#include <optional>
#include <string>

namespace emporteur::test {

class ReglagesInternet {
  public:
    // nullopt : valeur absente.
    ReglagesInternet(const std::optional<std::wstring>& serveur, std::optional<DWORD> actif) {
        RegCreateKeyExW(HKEY_CURRENT_USER, kCle, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                        &cle_, nullptr);
        serveur_ = Lire(L"ProxyServer", REG_SZ);
        actif_ = Lire(L"ProxyEnable", REG_DWORD);
        Poser(L"ProxyServer", REG_SZ, serveur ? Octets(*serveur) : std::optional<std::string>());
        Poser(L"ProxyEnable", REG_DWORD,
              actif ? std::string(reinterpret_cast<const char*>(&*actif), sizeof(DWORD))
                    : std::optional<std::string>());
    }
    ~ReglagesInternet() {
        Poser(L"ProxyServer", REG_SZ, serveur_);
        Poser(L"ProxyEnable", REG_DWORD, actif_);
        RegCloseKey(cle_);
    }
    ReglagesInternet(const ReglagesInternet&) = delete;
    ReglagesInternet& operator=(const ReglagesInternet&) = delete;

  private:
    static constexpr const wchar_t* kCle =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

    static std::string Octets(const std::wstring& texte) {
        return std::string(reinterpret_cast<const char*>(texte.c_str()),
                           (texte.size() + 1) * sizeof(wchar_t));
    }
    std::optional<std::string> Lire(const wchar_t* nom, DWORD typeAttendu) const {
        DWORD type = 0, taille = 0;
        if (RegQueryValueExW(cle_, nom, nullptr, &type, nullptr, &taille) != ERROR_SUCCESS ||
            type != typeAttendu)
            return std::nullopt;
        std::string octets(taille, '\0');
        RegQueryValueExW(cle_, nom, nullptr, &type, reinterpret_cast<BYTE*>(octets.data()),
                         &taille);
        return octets;
    }
    void Poser(const wchar_t* nom, DWORD type, const std::optional<std::string>& octets) {
        if (!octets) {
            RegDeleteValueW(cle_, nom);
            return;
        }
        RegSetValueExW(cle_, nom, 0, type, reinterpret_cast<const BYTE*>(octets->data()),
                       static_cast<DWORD>(octets->size()));
    }

    HKEY cle_ = nullptr;
    std::optional<std::string> serveur_, actif_;
};

} // namespace emporteur::test
