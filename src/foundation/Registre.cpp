#include "foundation/Registre.h"

#include <cstring>
#include <sqlite3.h>
#include <vector>

namespace emporteur {

namespace {
// KEY_SET_VALUE, KEY_CREATE_SUB_KEY, KEY_CREATE_LINK, DELETE, WRITE_DAC, WRITE_OWNER.
constexpr Acces kDroitsEcriture = 0x0002 | 0x0004 | 0x0020 | 0x10000 | 0x40000 | 0x80000;
constexpr std::size_t kLongueurNomCle = 255;

// Casse pliée : ASCII et lettres latines accentuées (U+00C0 à U+00DE, sauf ×), qui
// suffisent aux noms de ce programme ; le reste est comparé tel quel.
std::string Plier(std::string_view nom) {
    std::string plie(nom);
    for (std::size_t i = 0; i < plie.size(); ++i) {
        const auto c = static_cast<unsigned char>(plie[i]);
        if (c >= 'A' && c <= 'Z')
            plie[i] = static_cast<char>(c + 32);
        else if (c == 0xC3 && i + 1 < plie.size()) {
            const auto suivant = static_cast<unsigned char>(plie[i + 1]);
            if (suivant >= 0x80 && suivant <= 0x9E && suivant != 0x97)
                plie[i + 1] = static_cast<char>(suivant + 0x20);
            ++i;
        }
    }
    return plie;
}

// Éléments d'un chemin "a\b\c" ; un "\" final est toléré, un élément vide ne l'est pas.
CodeWin32 Decouper(const std::string& sousCle, std::vector<std::string>& elements) {
    if (sousCle.find('\0') != std::string::npos) return ERROR_BAD_PATHNAME;
    std::string chemin = sousCle;
    if (!chemin.empty() && chemin.back() == '\\') chemin.pop_back();
    if (chemin.empty()) return sousCle.empty() ? ERROR_SUCCESS : ERROR_BAD_PATHNAME;
    std::size_t debut = 0;
    while (true) {
        const std::size_t fin = chemin.find('\\', debut);
        const std::string element = chemin.substr(debut, fin - debut);
        if (element.empty()) return ERROR_BAD_PATHNAME;
        if (element.size() > kLongueurNomCle) return ERROR_INVALID_PARAMETER;
        elements.push_back(element);
        if (fin == std::string::npos) return ERROR_SUCCESS;
        debut = fin + 1;
    }
}

std::string Joindre(const std::vector<std::string>& elements, std::size_t nombre) {
    std::string chemin;
    for (std::size_t i = 0; i < nombre; ++i) {
        if (i) chemin += '\\';
        chemin += Plier(elements[i]);
    }
    return chemin;
}

// Vrai (dans `existe`) si la clé pliée est dans la base ; la racine existe toujours.
CodeWin32 CleExiste(const BaseRegistre& base, const std::string& chemin, bool& existe) {
    existe = chemin.empty();
    if (existe || base.Vide()) return ERROR_SUCCESS;
    Requete requete(base.Connexion(), "SELECT 1 FROM cles WHERE chemin = ?");
    requete.LierTexte(1, chemin);
    const int code = requete.Pas();
    existe = code == SQLITE_ROW;
    return existe ? ERROR_SUCCESS : CodeDepuisSqlite(code);
}

// Ouvre la ruche en lecture et dit si la clé existe ; une ruche absente (fichier
// manquant) n'a que sa racine.
CodeWin32 ChercherCle(Ruche ruche, const std::string& chemin, bool& existe) {
    std::unique_ptr<BaseRegistre> base;
    const CodeWin32 code = BaseRegistre::Ouvrir(ruche, BaseRegistre::Mode::Lecture, base);
    if (code == ERROR_FILE_NOT_FOUND) {
        existe = chemin.empty();
        return ERROR_SUCCESS;
    }
    return code != ERROR_SUCCESS ? code : CleExiste(*base, chemin, existe);
}

CodeWin32 InsererCles(BaseRegistre& base, const std::vector<std::string>& elements) {
    Requete requete(base.Connexion(), "INSERT OR IGNORE INTO cles VALUES(?, ?)");
    for (std::size_t n = 1; n <= elements.size(); ++n) {
        if (!requete.Preparee()) return CodeDepuisSqlite(requete.CodePreparation());
        requete.LierTexte(1, Joindre(elements, n));
        requete.LierTexte(2, elements[n - 1]);
        if (const int code = requete.Pas(); code != SQLITE_DONE) return CodeDepuisSqlite(code);
        requete.Reinitialiser();
    }
    return ERROR_SUCCESS;
}
} // namespace

CleOuverte::CleOuverte(CleOuverte&& autre) noexcept
    : ruche_(autre.ruche_), chemin_(std::move(autre.chemin_)), acces_(autre.acces_),
      ouverte_(autre.ouverte_) {
    autre.ouverte_ = false;
}

CleOuverte& CleOuverte::operator=(CleOuverte&& autre) noexcept {
    if (this != &autre) {
        ruche_ = autre.ruche_;
        chemin_ = std::move(autre.chemin_);
        acces_ = autre.acces_;
        ouverte_ = autre.ouverte_;
        autre.ouverte_ = false;
    }
    return *this;
}

CodeWin32 CleOuverte::Fermer() {
    if (!ouverte_) return ERROR_INVALID_HANDLE;
    ouverte_ = false;
    chemin_.clear();
    return ERROR_SUCCESS;
}

CodeWin32 CleOuverte::LireValeur(const std::string& nom, std::uint32_t* type, void* donnees,
                                 std::uint32_t* taille) const {
    if (!ouverte_) return ERROR_INVALID_HANDLE;
    if (!(acces_ & KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
    if (donnees && !taille) return ERROR_INVALID_PARAMETER;
    std::unique_ptr<BaseRegistre> base;
    const CodeWin32 code = BaseRegistre::Ouvrir(ruche_, BaseRegistre::Mode::Lecture, base);
    if (code != ERROR_SUCCESS) return code;
    if (base->Vide()) return ERROR_FILE_NOT_FOUND;
    Requete requete(base->Connexion(),
                    "SELECT type, donnees FROM valeurs WHERE cle = ? AND nom_plie = ?");
    requete.LierTexte(1, chemin_);
    requete.LierTexte(2, Plier(nom));
    const int pas = requete.Pas();
    if (pas != SQLITE_ROW) return pas == SQLITE_DONE ? ERROR_FILE_NOT_FOUND : CodeDepuisSqlite(pas);
    const auto octets = static_cast<std::uint32_t>(requete.Taille(1));
    if (type) *type = static_cast<std::uint32_t>(requete.Entier(0));
    if (donnees && *taille < octets) {
        *taille = octets;
        return ERROR_MORE_DATA;
    }
    if (donnees && octets) std::memcpy(donnees, requete.Octets(1), octets);
    if (taille) *taille = octets;
    return ERROR_SUCCESS;
}

CodeWin32 CleOuverte::LireDword(const std::string& nom, std::uint32_t& valeur) const {
    std::uint32_t type = REG_NONE;
    unsigned char octets[4] = {};
    std::uint32_t taille = sizeof octets;
    const CodeWin32 code = LireValeur(nom, &type, octets, &taille);
    if (code == ERROR_MORE_DATA) return ERROR_INVALID_DATA;
    if (code != ERROR_SUCCESS) return code;
    if (type != REG_DWORD || taille != 4) return ERROR_INVALID_DATA;
    valeur = octets[0] | (octets[1] << 8) | (octets[2] << 16) |
             (static_cast<std::uint32_t>(octets[3]) << 24);
    return ERROR_SUCCESS;
}

CodeWin32 CleOuverte::EcrireValeur(const std::string& nom, std::uint32_t type, const void* donnees,
                                   std::uint32_t taille) const {
    if (!ouverte_) return ERROR_INVALID_HANDLE;
    if (!(acces_ & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
    if (taille && !donnees) return ERROR_INVALID_PARAMETER;
    std::unique_ptr<BaseRegistre> base;
    if (const CodeWin32 code = BaseRegistre::Ouvrir(ruche_, BaseRegistre::Mode::Ecriture, base);
        code != ERROR_SUCCESS)
        return code;
    bool existe = false;
    if (const CodeWin32 code = CleExiste(*base, chemin_, existe); code != ERROR_SUCCESS)
        return code;
    if (!existe) return ERROR_KEY_DELETED;
    // Un nom déjà présent dans une autre casse garde sa graphie d'origine.
    Requete requete(base->Connexion(),
                    "INSERT INTO valeurs VALUES(?, ?, ?, ?, ?) ON CONFLICT(cle, nom_plie)"
                    " DO UPDATE SET type = excluded.type, donnees = excluded.donnees");
    requete.LierTexte(1, chemin_);
    requete.LierTexte(2, Plier(nom));
    requete.LierTexte(3, nom);
    requete.LierEntier(4, type);
    requete.LierOctets(5, donnees, taille);
    if (const int pas = requete.Pas(); pas != SQLITE_DONE) return CodeDepuisSqlite(pas);
    return base->Valider();
}

CodeWin32 CleOuverte::EcrireTexte(const std::string& nom, const std::string& texte) const {
    return EcrireValeur(nom, REG_SZ, texte.c_str(), static_cast<std::uint32_t>(texte.size() + 1));
}

CodeWin32 CleOuverte::EcrireDword(const std::string& nom, std::uint32_t valeur) const {
    const unsigned char octets[4] = {
        static_cast<unsigned char>(valeur), static_cast<unsigned char>(valeur >> 8),
        static_cast<unsigned char>(valeur >> 16), static_cast<unsigned char>(valeur >> 24)};
    return EcrireValeur(nom, REG_DWORD, octets, sizeof octets);
}

CodeWin32 OuvrirCle(Ruche ruche, const std::string& sousCle, Acces acces, CleOuverte& cle) {
    if (ruche == Ruche::Machine && (acces & kDroitsEcriture)) return ERROR_ACCESS_DENIED;
    std::vector<std::string> elements;
    if (const CodeWin32 code = Decouper(sousCle, elements); code != ERROR_SUCCESS) return code;
    const std::string chemin = Joindre(elements, elements.size());
    bool existe = false;
    if (const CodeWin32 code = ChercherCle(ruche, chemin, existe); code != ERROR_SUCCESS)
        return code;
    if (!existe) return ERROR_FILE_NOT_FOUND;
    cle = CleOuverte(ruche, chemin, acces);
    return ERROR_SUCCESS;
}

CodeWin32 CreerCle(Ruche ruche, const std::string& sousCle, Acces acces, CleOuverte& cle) {
    if (ruche == Ruche::Machine) {
        // Ruche en lecture seule : on ne peut qu'ouvrir une clé existante.
        const CodeWin32 code = OuvrirCle(ruche, sousCle, acces, cle);
        return code == ERROR_FILE_NOT_FOUND ? ERROR_ACCESS_DENIED : code;
    }
    std::vector<std::string> elements;
    if (const CodeWin32 code = Decouper(sousCle, elements); code != ERROR_SUCCESS) return code;
    std::unique_ptr<BaseRegistre> base;
    if (const CodeWin32 code = BaseRegistre::Ouvrir(ruche, BaseRegistre::Mode::Ecriture, base);
        code != ERROR_SUCCESS)
        return code;
    if (const CodeWin32 code = InsererCles(*base, elements); code != ERROR_SUCCESS) return code;
    if (const CodeWin32 code = base->Valider(); code != ERROR_SUCCESS) return code;
    cle = CleOuverte(ruche, Joindre(elements, elements.size()), acces);
    return ERROR_SUCCESS;
}

} // namespace emporteur
