#include "outils/RegistreMachine.h"

#include "outils/DossierTemporaire.h"

#ifdef _WIN32
#include "foundation/win32/Utf16.h"
#else
#include "foundation/DossiersUtilisateur.h"
#endif

namespace emporteur::test {

#ifdef _WIN32
// Sous Windows, EnvironnementIsole détourne la ruche machine vers une clé où l'on peut
// écrire : on y écrit par l'API du système, le noyau ne l'écrivant jamais.
CodeWin32 EcrireValeurMachine(const std::string& cle, const std::string& nom, std::uint32_t type,
                              const std::string& octets) {
    HKEY ouverte = nullptr;
    if (const LSTATUS code = RegCreateKeyExW(HKEY_LOCAL_MACHINE, VersUtf16(cle).c_str(), 0, nullptr,
                                             0, KEY_SET_VALUE, nullptr, &ouverte, nullptr))
        return code;
    // Les textes vont au registre en UTF-16, comme le noyau les y mettrait.
    const bool texte = type == REG_SZ || type == REG_EXPAND_SZ;
    const std::wstring large = texte ? VersUtf16(octets) : std::wstring();
    const auto* donnees = texte ? reinterpret_cast<const BYTE*>(large.c_str())
                                : reinterpret_cast<const BYTE*>(octets.data());
    const auto taille = static_cast<DWORD>(texte ? large.size() * sizeof(wchar_t) : octets.size());
    const LSTATUS code = RegSetValueExW(ouverte, VersUtf16(nom).c_str(), 0, type, donnees, taille);
    RegCloseKey(ouverte);
    return code;
}
#else
CodeWin32 EcrireValeurMachine(const std::string& cle, const std::string& nom, std::uint32_t type,
                              const std::string& octets) {
    VariableTemporaire detour("XDG_CONFIG_HOME", DossierSysteme());
    CleOuverte ouverte;
    if (const CodeWin32 code = CreerCle(HKEY_CURRENT_USER, cle, KEY_READ | KEY_WRITE, ouverte))
        return code;
    return ouverte.EcrireValeur(nom, type, octets.data(),
                                static_cast<std::uint32_t>(octets.size()));
}
#endif

CodeWin32 EcrireTexteMachine(const std::string& cle, const std::string& nom,
                             const std::string& texte) {
    return EcrireValeurMachine(cle, nom, REG_SZ, texte + std::string(1, '\0'));
}

} // namespace emporteur::test
