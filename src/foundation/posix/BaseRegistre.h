#pragma once
// Connexion à une ruche du registre (fichier SQLite) le temps d'une seule
// transaction : ouverte, vérifiée, puis annulée ou validée ; la destruction ferme tout.

#include "foundation/ConstantesWin32.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace emporteur {

// Fichier de la ruche ; vide si le dossier de base est introuvable.
std::string CheminRuche(Ruche ruche);

// Requête préparée, finalisée à la destruction.
class Requete {
  public:
    Requete(sqlite3* base, const char* sql);
    ~Requete();
    Requete(const Requete&) = delete;
    Requete& operator=(const Requete&) = delete;

    void LierTexte(int indice, std::string_view texte);
    void LierOctets(int indice, const void* donnees, std::uint32_t taille);
    void LierEntier(int indice, std::int64_t valeur);
    // Code SQLite du pas : SQLITE_ROW, SQLITE_DONE ou une erreur.
    int Pas();
    // Prête la requête pour un nouveau pas, liaisons effacées.
    void Reinitialiser();
    std::int64_t Entier(int colonne) const;
    const void* Octets(int colonne) const;
    int Taille(int colonne) const;
    bool Preparee() const { return requete_ != nullptr; }
    int CodePreparation() const { return codePreparation_; }

  private:
    sqlite3_stmt* requete_ = nullptr;
    int codePreparation_ = 0;
};

class BaseRegistre {
  public:
    enum class Mode { Lecture, Ecriture };

    // Lecture : un fichier absent donne ERROR_FILE_NOT_FOUND (ruche vide) et n'est
    // pas créé. Écriture : dossiers et fichier créés au besoin, verrou d'écriture pris
    // (attente bornée) et schéma posé sur une base neuve. Une base illisible ou
    // étrangère donne un code d'erreur et n'est jamais modifiée.
    static CodeWin32 Ouvrir(Ruche ruche, Mode mode, std::unique_ptr<BaseRegistre>& base);
    ~BaseRegistre();
    BaseRegistre(const BaseRegistre&) = delete;
    BaseRegistre& operator=(const BaseRegistre&) = delete;

    sqlite3* Connexion() const { return connexion_; }
    // Vrai si la base n'a pas encore de schéma (lecture d'une base vide).
    bool Vide() const { return vide_; }
    // Valide la transaction ; sans cet appel, la destruction l'annule.
    CodeWin32 Valider();

  private:
    BaseRegistre() = default;
    CodeWin32 Commencer(Mode mode);
    CodeWin32 VerifierSchema(Mode mode);

    sqlite3* connexion_ = nullptr;
    bool transaction_ = false;
    bool vide_ = false;
};

// Code Win32 correspondant à un code d'erreur SQLite.
CodeWin32 CodeDepuisSqlite(int code);

} // namespace emporteur
