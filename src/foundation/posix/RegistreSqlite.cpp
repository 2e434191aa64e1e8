// Le registre hors de Windows : une base SQLite par ruche. HKEY_CURRENT_USER est
// $XDG_CONFIG_HOME/Mervane/registre.sqlite, HKEY_LOCAL_MACHINE Mervane/registre.sqlite du
// premier dossier de $XDG_CONFIG_DIRS (lecture seule). Valeurs stockées octet pour octet
// comme sous Windows ; chaque opération est une transaction. Un fichier absent est une
// ruche vide, un fichier illisible ou corrompu une ruche absente jamais réécrite.
#include "foundation/Registre.h"

#include "foundation/posix/BaseRegistre.h"

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

// Ruche et chemin plié de la clé ("" pour la racine) : la base est rouverte à chaque
// opération, une clé ouverte ne garde rien d'autre.
struct CleOuverte::Etat {
    Ruche ruche;
    std::string chemin;
    Acces acces;
};

CleOuverte::CleOuverte() = default;
CleOuverte::CleOuverte(std::unique_ptr<Etat> etat) : etat_(std::move(etat)) {}
CleOuverte::~CleOuverte() = default;
CleOuverte::CleOuverte(CleOuverte&& autre) noexcept = default;
CleOuverte& CleOuverte::operator=(CleOuverte&& autre) noexcept = default;

CodeWin32 CleOuverte::Fermer() {
    if (!etat_) return ERROR_INVALID_HANDLE;
    etat_.reset();
    return ERROR_SUCCESS;
}

CodeWin32 CleOuverte::LireValeur(const std::string& nom, std::uint32_t* type, void* donnees,
                                 std::uint32_t* taille) const {
    if (!etat_) return ERROR_INVALID_HANDLE;
    if (!(etat_->acces & KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
    if (donnees && !taille) return ERROR_INVALID_PARAMETER;
    std::unique_ptr<BaseRegistre> base;
    const CodeWin32 code = BaseRegistre::Ouvrir(etat_->ruche, BaseRegistre::Mode::Lecture, base);
    if (code != ERROR_SUCCESS) return code;
    if (base->Vide()) return ERROR_FILE_NOT_FOUND;
    Requete requete(base->Connexion(),
                    "SELECT type, donnees FROM valeurs WHERE cle = ? AND nom_plie = ?");
    requete.LierTexte(1, etat_->chemin);
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

CodeWin32 CleOuverte::EcrireValeur(const std::string& nom, std::uint32_t type, const void* donnees,
                                   std::uint32_t taille) const {
    if (!etat_) return ERROR_INVALID_HANDLE;
    if (!(etat_->acces & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
    if (taille && !donnees) return ERROR_INVALID_PARAMETER;
    std::unique_ptr<BaseRegistre> base;
    if (const CodeWin32 code =
            BaseRegistre::Ouvrir(etat_->ruche, BaseRegistre::Mode::Ecriture, base);
        code != ERROR_SUCCESS)
        return code;
    bool existe = false;
    if (const CodeWin32 code = CleExiste(*base, etat_->chemin, existe); code != ERROR_SUCCESS)
        return code;
    if (!existe) return ERROR_KEY_DELETED;
    // Un nom déjà présent dans une autre casse garde sa graphie d'origine.
    Requete requete(base->Connexion(),
                    "INSERT INTO valeurs VALUES(?, ?, ?, ?, ?) ON CONFLICT(cle, nom_plie)"
                    " DO UPDATE SET type = excluded.type, donnees = excluded.donnees");
    requete.LierTexte(1, etat_->chemin);
    requete.LierTexte(2, Plier(nom));
    requete.LierTexte(3, nom);
    requete.LierEntier(4, type);
    requete.LierOctets(5, donnees, taille);
    if (const int pas = requete.Pas(); pas != SQLITE_DONE) return CodeDepuisSqlite(pas);
    return base->Valider();
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
    cle = CleOuverte(std::make_unique<CleOuverte::Etat>(CleOuverte::Etat{ruche, chemin, acces}));
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
    cle = CleOuverte(std::make_unique<CleOuverte::Etat>(
        CleOuverte::Etat{ruche, Joindre(elements, elements.size()), acces}));
    return ERROR_SUCCESS;
}

} // namespace emporteur
