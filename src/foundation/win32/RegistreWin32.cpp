#include "foundation/Registre.h"

#include "foundation/win32/Utf16.h"

#include <cstring>
#include <string_view>
#include <vector>

namespace emporteur {

namespace {
// Droits qui permettraient d'écrire : refusés sur HKEY_LOCAL_MACHINE, que ce programme
// ne fait que lire (comme sur les autres plateformes).
constexpr Acces kDroitsEcriture =
    KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK | DELETE | WRITE_DAC | WRITE_OWNER;
// Le programme d'origine, 32 bits, lisait la vue 32 bits du registre : c'est là que
// l'installateur du produit écrit sous HKEY_LOCAL_MACHINE\SOFTWARE.
constexpr Acces kVue = KEY_WOW64_32KEY;
// Une valeur plus grosse n'est pas un réglage : jamais d'allocation démesurée.
constexpr DWORD kTailleMaxValeur = 1 << 20;

bool EstTexte(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// Nom de valeur pour Windows ; un zéro au milieu le couperait en un autre nom.
bool NomValeur(const std::string& nom, std::wstring& large) {
    if (nom.find('\0') != std::string::npos) return false;
    large = VersUtf16(nom);
    return true;
}

// Octets bruts de la valeur ; relit si elle a grandi entre la taille et la lecture.
CodeWin32 LireBrut(HKEY cle, const std::wstring& nom, DWORD& type, std::vector<BYTE>& brut) {
    for (int essai = 0; essai < 4; ++essai) {
        DWORD taille = 0;
        LSTATUS code = RegQueryValueExW(cle, nom.c_str(), nullptr, &type, nullptr, &taille);
        if (code != ERROR_SUCCESS) return code;
        if (taille > kTailleMaxValeur) return ERROR_INVALID_DATA;
        // Un mot de plus : un texte stocké sans zéro final ne déborde jamais.
        brut.assign(taille + sizeof(wchar_t), 0);
        code = RegQueryValueExW(cle, nom.c_str(), nullptr, &type, brut.data(), &taille);
        if (code == ERROR_MORE_DATA) continue;
        if (code != ERROR_SUCCESS) return code;
        brut.resize(taille);
        return ERROR_SUCCESS;
    }
    return ERROR_MORE_DATA;
}

// Texte UTF-16 du registre → UTF-8, zéros (final et intérieurs) gardés à leur place ;
// un octet impair en trop est ignoré.
std::string TexteUtf8(const std::vector<BYTE>& brut) {
    std::wstring large(brut.size() / sizeof(wchar_t), L'\0');
    if (!large.empty()) std::memcpy(large.data(), brut.data(), large.size() * sizeof(wchar_t));
    return DepuisUtf16(large);
}
} // namespace

// La poignée de Windows, fermée avec l'état.
struct CleOuverte::Etat {
    HKEY cle = nullptr;
    explicit Etat(HKEY ouverte) : cle(ouverte) {}
    ~Etat() {
        if (cle) RegCloseKey(cle);
    }
    Etat(const Etat&) = delete;
    Etat& operator=(const Etat&) = delete;
};

CleOuverte::CleOuverte() = default;
CleOuverte::CleOuverte(std::unique_ptr<Etat> etat) : etat_(std::move(etat)) {}
CleOuverte::~CleOuverte() = default;
CleOuverte::CleOuverte(CleOuverte&& autre) noexcept = default;
CleOuverte& CleOuverte::operator=(CleOuverte&& autre) noexcept = default;

CodeWin32 CleOuverte::Fermer() {
    if (!etat_) return ERROR_INVALID_HANDLE;
    const HKEY cle = etat_->cle;
    etat_->cle = nullptr;
    etat_.reset();
    return RegCloseKey(cle);
}

CodeWin32 CleOuverte::LireValeur(const std::string& nom, std::uint32_t* type, void* donnees,
                                 std::uint32_t* taille) const {
    if (!etat_) return ERROR_INVALID_HANDLE;
    if (donnees && !taille) return ERROR_INVALID_PARAMETER;
    std::wstring large;
    if (!NomValeur(nom, large)) return ERROR_FILE_NOT_FOUND;
    DWORD typeLu = REG_NONE;
    std::vector<BYTE> brut;
    if (const CodeWin32 code = LireBrut(etat_->cle, large, typeLu, brut); code != ERROR_SUCCESS)
        return code;
    // Les textes sont rendus en UTF-8, comme le noyau les garde partout.
    std::string texte;
    const void* octets = brut.data();
    auto nombre = static_cast<std::uint32_t>(brut.size());
    if (EstTexte(typeLu)) {
        texte = TexteUtf8(brut);
        octets = texte.data();
        nombre = static_cast<std::uint32_t>(texte.size());
    }
    if (type) *type = typeLu;
    if (donnees && *taille < nombre) {
        *taille = nombre;
        return ERROR_MORE_DATA;
    }
    if (donnees && nombre) std::memcpy(donnees, octets, nombre);
    if (taille) *taille = nombre;
    return ERROR_SUCCESS;
}

CodeWin32 CleOuverte::EcrireValeur(const std::string& nom, std::uint32_t type, const void* donnees,
                                   std::uint32_t taille) const {
    if (!etat_) return ERROR_INVALID_HANDLE;
    if (taille && !donnees) return ERROR_INVALID_PARAMETER;
    std::wstring large;
    if (!NomValeur(nom, large)) return ERROR_INVALID_PARAMETER;
    const auto* octets = static_cast<const BYTE*>(donnees);
    DWORD nombre = taille;
    std::wstring texte;
    if (EstTexte(type) && taille) {
        texte = VersUtf16(std::string_view(static_cast<const char*>(donnees), taille));
        nombre = static_cast<DWORD>(texte.size() * sizeof(wchar_t));
        // Windows ajoute un zéro final « oublié » si le mot qui suit les données est nul :
        // un mot non nul derrière garde les octets tels que l'appelant les a donnés.
        texte.push_back(L'\xFFFF');
        octets = reinterpret_cast<const BYTE*>(texte.data());
    }
    return RegSetValueExW(etat_->cle, large.c_str(), 0, type, octets, nombre);
}

CodeWin32 OuvrirCle(Ruche ruche, const std::string& sousCle, Acces acces, CleOuverte& cle) {
    if (ruche == HKEY_LOCAL_MACHINE && (acces & kDroitsEcriture)) return ERROR_ACCESS_DENIED;
    if (sousCle.find('\0') != std::string::npos) return ERROR_BAD_PATHNAME;
    HKEY ouverte = nullptr;
    const LSTATUS code =
        RegOpenKeyExW(ruche, VersUtf16(sousCle).c_str(), 0, acces | kVue, &ouverte);
    if (code != ERROR_SUCCESS) return code;
    cle = CleOuverte(std::make_unique<CleOuverte::Etat>(ouverte));
    return ERROR_SUCCESS;
}

CodeWin32 CreerCle(Ruche ruche, const std::string& sousCle, Acces acces, CleOuverte& cle) {
    if (ruche == HKEY_LOCAL_MACHINE) {
        // Lecture seule : on ne peut qu'ouvrir une clé existante.
        const CodeWin32 code = OuvrirCle(ruche, sousCle, acces, cle);
        return code == ERROR_FILE_NOT_FOUND ? ERROR_ACCESS_DENIED : code;
    }
    if (sousCle.find('\0') != std::string::npos) return ERROR_BAD_PATHNAME;
    HKEY creee = nullptr;
    const LSTATUS code =
        RegCreateKeyExW(ruche, VersUtf16(sousCle).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        acces | kVue, nullptr, &creee, nullptr);
    if (code != ERROR_SUCCESS) return code;
    cle = CleOuverte(std::make_unique<CleOuverte::Etat>(creee));
    return ERROR_SUCCESS;
}

} // namespace emporteur
