// Le mandataire du système sous Windows : la valeur ProxyServer des réglages Internet
// de l'utilisateur, que le dialogue du mandataire montre et que WinINet suit en accès
// préconfiguré. Elle ne porte jamais d'identifiants.
#include "commun/Mandataire.h"

#include "foundation/ConstantesWin32.h"
#include "foundation/win32/Utf16.h"

#include <sstream>

namespace emporteur {

namespace {
constexpr const wchar_t* kReglagesInternet =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
// Au-delà, la valeur n'est pas un réglage de mandataire : ignorée.
constexpr DWORD kMaxOctets = 32 * 1024;

struct ReglagesInternet {
    std::string Serveur; // ProxyServer, vide s'il manque ou n'est pas un texte
    bool Actif = false;  // ProxyEnable non nul
};

// Faux si la clé ne s'ouvre pas.
bool LireReglages(ReglagesInternet& r) {
    HKEY cle = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kReglagesInternet, 0, KEY_READ, &cle) != ERROR_SUCCESS)
        return false;
    std::wstring texte(kMaxOctets / sizeof(wchar_t), L'\0');
    DWORD octets = kMaxOctets;
    if (RegGetValueW(cle, nullptr, L"ProxyServer", RRF_RT_REG_SZ, nullptr, texte.data(),
                     &octets) == ERROR_SUCCESS) {
        texte.resize(octets / sizeof(wchar_t));
        while (!texte.empty() && texte.back() == L'\0')
            texte.pop_back();
        r.Serveur = DepuisUtf16(texte);
    }
    DWORD actif = 0;
    octets = sizeof actif;
    if (RegGetValueW(cle, nullptr, L"ProxyEnable", RRF_RT_REG_DWORD, nullptr, &actif, &octets) ==
        ERROR_SUCCESS)
        r.Actif = actif != 0;
    RegCloseKey(cle);
    return true;
}

// Le serveur d'un protocole dans "http=cache:80;https=autre:443" ; la valeur entière
// si elle n'a pas cette forme.
std::string ServeurPour(const std::string& valeur, const std::string& protocole) {
    if (valeur.find('=') == std::string::npos) return valeur;
    std::string entree;
    std::istringstream flux(valeur);
    while (std::getline(flux, entree, ';')) {
        const auto egal = entree.find('=');
        if (egal != std::string::npos && entree.substr(0, egal) == protocole)
            return entree.substr(egal + 1);
    }
    return {};
}
} // namespace

bool LireProxySysteme(std::string& reglage) {
    reglage.clear();
    ReglagesInternet r;
    if (!LireReglages(r)) return false;
    reglage = r.Serveur;
    return true;
}

bool IdentifiantsDuSysteme(const std::string&, std::int32_t, std::string&, std::string&) {
    return false;
}

std::string MandataireImplicite(const std::string& adresse) {
    ReglagesInternet r;
    if (!LireReglages(r) || !r.Actif) return {};
    const bool securise = adresse.rfind("https://", 0) == 0;
    MandataireDecrit decrit;
    if (!DecrireMandataire(ServeurPour(r.Serveur, securise ? "https" : "http"), decrit)) return {};
    return "http://" + decrit.Serveur + (decrit.Port ? ":" + std::to_string(decrit.Port) : "");
}

} // namespace emporteur
