#include "outils/RegistreMachine.h"

#include "foundation/DossiersUtilisateur.h"
#include "outils/DossierTemporaire.h"

namespace emporteur::test {

CodeWin32 EcrireValeurMachine(const std::string& cle, const std::string& nom, std::uint32_t type,
                              const std::string& octets) {
    VariableTemporaire detour("XDG_CONFIG_HOME", DossierSysteme());
    CleOuverte ouverte;
    if (const CodeWin32 code = CreerCle(HKEY_CURRENT_USER, cle, KEY_READ | KEY_WRITE, ouverte))
        return code;
    return ouverte.EcrireValeur(nom, type, octets.data(),
                                static_cast<std::uint32_t>(octets.size()));
}

CodeWin32 EcrireTexteMachine(const std::string& cle, const std::string& nom,
                             const std::string& texte) {
    return EcrireValeurMachine(cle, nom, REG_SZ, texte + std::string(1, '\0'));
}

} // namespace emporteur::test
