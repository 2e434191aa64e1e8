#include "foundation/posix/BaseRegistre.h"

#include "foundation/DossiersUtilisateur.h"
#include "foundation/Fichiers.h"

#include <filesystem>
#include <sqlite3.h>

namespace emporteur {

namespace {
// Marque nos fichiers : une base SQLite d'un autre logiciel n'est jamais touchée.
constexpr std::int64_t kIdentifiantApplication = 0x4D525647; // "MRVG"
constexpr int kAttenteVerrouMs = 5000;

constexpr const char* kSchema =
    "CREATE TABLE cles(chemin TEXT PRIMARY KEY, nom TEXT NOT NULL) WITHOUT ROWID;"
    "CREATE TABLE valeurs(cle TEXT NOT NULL, nom_plie TEXT NOT NULL, nom TEXT NOT NULL,"
    " type INTEGER NOT NULL, donnees BLOB NOT NULL, PRIMARY KEY(cle, nom_plie)) WITHOUT ROWID;"
    "INSERT INTO cles VALUES('', '');"
    "PRAGMA application_id = 1297241671;";

CodeWin32 Executer(sqlite3* connexion, const char* sql) {
    return CodeDepuisSqlite(sqlite3_exec(connexion, sql, nullptr, nullptr, nullptr));
}

std::int64_t LireEntier(sqlite3* connexion, const char* sql, int& code) {
    Requete requete(connexion, sql);
    code = requete.Preparee() ? requete.Pas() : requete.CodePreparation();
    if (code != SQLITE_ROW) return 0;
    code = SQLITE_OK;
    return requete.Entier(0);
}
} // namespace

std::string CheminRuche(Ruche ruche) {
    const std::string base =
        ruche == Ruche::Utilisateur ? DossierConfigurationUtilisateur() : DossierSysteme();
    return base.empty() ? std::string() : base + "/Mervane/registre.sqlite";
}

CodeWin32 CodeDepuisSqlite(int code) {
    switch (code & 0xff) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE:
        return ERROR_SUCCESS;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_SCHEMA:
    case SQLITE_ERROR:
        return ERROR_BADDB;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return ERROR_BUSY;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
    case SQLITE_CANTOPEN:
        return ERROR_ACCESS_DENIED;
    case SQLITE_FULL:
        return ERROR_DISK_FULL;
    case SQLITE_NOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    default:
        return ERROR_REGISTRY_IO_FAILED;
    }
}

Requete::Requete(sqlite3* base, const char* sql) {
    codePreparation_ = sqlite3_prepare_v2(base, sql, -1, &requete_, nullptr);
    if (codePreparation_ != SQLITE_OK) {
        sqlite3_finalize(requete_);
        requete_ = nullptr;
    }
}

Requete::~Requete() {
    sqlite3_finalize(requete_);
}

void Requete::LierTexte(int indice, std::string_view texte) {
    sqlite3_bind_text(requete_, indice, texte.data(), static_cast<int>(texte.size()),
                      SQLITE_TRANSIENT);
}

void Requete::LierOctets(int indice, const void* donnees, std::uint32_t taille) {
    // Un pointeur nul lierait NULL : une valeur vide reste une suite d'octets vide.
    static const char vide = 0;
    sqlite3_bind_blob64(requete_, indice, taille ? donnees : &vide, taille, SQLITE_TRANSIENT);
}

void Requete::LierEntier(int indice, std::int64_t valeur) {
    sqlite3_bind_int64(requete_, indice, valeur);
}

int Requete::Pas() {
    return requete_ ? sqlite3_step(requete_) : codePreparation_;
}

void Requete::Reinitialiser() {
    sqlite3_reset(requete_);
    sqlite3_clear_bindings(requete_);
}

std::int64_t Requete::Entier(int colonne) const {
    return sqlite3_column_int64(requete_, colonne);
}

const void* Requete::Octets(int colonne) const {
    return sqlite3_column_blob(requete_, colonne);
}

int Requete::Taille(int colonne) const {
    return sqlite3_column_bytes(requete_, colonne);
}

CodeWin32 BaseRegistre::Ouvrir(Ruche ruche, Mode mode, std::unique_ptr<BaseRegistre>& base) {
    const std::string chemin = CheminRuche(ruche);
    if (mode == Mode::Ecriture && ruche == Ruche::Machine) return ERROR_ACCESS_DENIED;
    if (chemin.empty()) return mode == Mode::Lecture ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    int drapeaux = SQLITE_OPEN_READONLY;
    if (mode == Mode::Lecture) {
        // Un lien vers rien vaut une ruche absente.
        if (!EntreeExiste(chemin, true)) return ERROR_FILE_NOT_FOUND;
    } else {
        std::error_code erreur;
        std::filesystem::create_directories(std::filesystem::path(chemin).parent_path(), erreur);
        drapeaux = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    }
    std::unique_ptr<BaseRegistre> nouvelle(new BaseRegistre());
    const int code = sqlite3_open_v2(chemin.c_str(), &nouvelle->connexion_,
                                     drapeaux | SQLITE_OPEN_NOMUTEX, nullptr);
    if (code != SQLITE_OK) return CodeDepuisSqlite(code);
    sqlite3_busy_timeout(nouvelle->connexion_, kAttenteVerrouMs);
    if (const CodeWin32 resultat = nouvelle->Commencer(mode); resultat != ERROR_SUCCESS)
        return resultat;
    base = std::move(nouvelle);
    return ERROR_SUCCESS;
}

BaseRegistre::~BaseRegistre() {
    if (transaction_) sqlite3_exec(connexion_, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close_v2(connexion_);
}

CodeWin32 BaseRegistre::Commencer(Mode mode) {
    // IMMEDIATE : le verrou d'écriture est pris d'emblée, sans risque d'interblocage
    // entre deux lecteurs qui voudraient ensuite écrire.
    const char* debut = mode == Mode::Ecriture ? "BEGIN IMMEDIATE" : "BEGIN";
    if (const CodeWin32 code = Executer(connexion_, debut); code != ERROR_SUCCESS) return code;
    transaction_ = true;
    return VerifierSchema(mode);
}

CodeWin32 BaseRegistre::VerifierSchema(Mode mode) {
    int code = SQLITE_OK;
    const std::int64_t identifiant = LireEntier(connexion_, "PRAGMA application_id", code);
    if (code != SQLITE_OK) return CodeDepuisSqlite(code);
    if (identifiant == kIdentifiantApplication) return ERROR_SUCCESS;
    const std::int64_t tables = LireEntier(connexion_, "SELECT count(*) FROM sqlite_master", code);
    if (code != SQLITE_OK) return CodeDepuisSqlite(code);
    if (identifiant != 0 || tables != 0) return ERROR_BADDB; // base d'un autre logiciel
    vide_ = true;
    if (mode == Mode::Lecture) return ERROR_SUCCESS;
    if (const CodeWin32 erreur = Executer(connexion_, kSchema); erreur != ERROR_SUCCESS)
        return erreur;
    vide_ = false;
    return ERROR_SUCCESS;
}

CodeWin32 BaseRegistre::Valider() {
    const CodeWin32 code = Executer(connexion_, "COMMIT");
    if (code == ERROR_SUCCESS) transaction_ = false;
    return code;
}

} // namespace emporteur
