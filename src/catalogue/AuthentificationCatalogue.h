#pragma once
// Authenticité des textes du catalogue, quand le programme a des clés publiques :
// signature détachée (TEXTE.sig, ECDSA P-256 sur SHA-256, DER), ligne de série
// "# emporteur serie=N expire=AAAA-MM-JJ" juste après la ligne de format, série la plus
// haute déjà acceptée gardée dans le registre (pas de retour à un texte plus ancien),
// date d'expiration (pas de texte gelé), "sha256=" sur chaque ligne d'ingrédient.
// Sans clé, tout texte est accepté tel quel.

#include "commun/ContexteTelechargement.h"
#include "messages/Journal.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace emporteur {

// Ce que déclare la ligne de série d'un texte.
struct LigneSerie {
    std::uint32_t Serie = 0;
    std::string Expire; // "AAAA-MM-JJ"
};

// La ligne qui suit la ligne de format ; faux si elle manque ou est mal formée.
bool LireLigneSerie(std::string_view texte, LigneSerie& ligne);
// Le texte avec sa ligne de série insérée après la ligne de format, ou remplacée.
std::string AvecLigneSerie(std::string_view texte, const LigneSerie& ligne);
// "AAAA-MM-JJ" bien formé (mois 01-12, jour 01-31).
bool DateValide(std::string_view date);

class AuthentificationCatalogue {
  public:
    // Jour de l'horloge de la machine, "AAAA-MM-JJ" (temps universel).
    using Aujourdhui = std::function<std::string()>;

    // Sans `aujourdhui`, la date de la machine ; sans date de construction, celle du
    // programme ; sans journal, celui du processus.
    explicit AuthentificationCatalogue(std::vector<std::string> cles, Aujourdhui aujourdhui = {},
                                       std::string dateConstruction = {},
                                       Journal* journal = nullptr);

    bool Active() const { return !cles_.empty(); }

    // Vrai si le texte brut `texte`, nommé `nom` (son nom sur le serveur), est signé par
    // une des clés, porte une série au moins égale à la dernière acceptée et n'a pas
    // expiré ; la série est alors retenue. `signature` nul : la signature n'a pas pu
    // être lue, `raison` dit pourquoi. `ingredients` : chaque ligne doit porter
    // "sha256=". Faux : la raison en français dans `message`, et une ligne au journal.
    bool Verifier(const std::string& nom, std::string_view texte, const std::string* signature,
                  const std::string& raison, bool ingredients, std::string& message) const;

    // La série retenue pour `nom`, 0 sans aucune.
    static std::uint32_t SerieRetenue(const std::string& nom);

  private:
    bool SigneParUneCle(std::string_view texte, const std::string& signature) const;
    bool Refuser(std::string& message, std::string texte) const;

    std::vector<std::string> cles_;
    Aujourdhui aujourdhui_;
    std::string dateConstruction_;
    Journal& journal_;
};

// Date du jour en temps universel, "AAAA-MM-JJ".
std::string DateDuJour();

// Le texte brut `texte` reçu du serveur (objet `objet` du dossier `dossier`) est-il
// authentique ? Sans clé dans le contexte : vrai sans rien demander. Sinon la
// signature `objet`.sig est demandée au même endroit ; faux : la raison dans `message`.
bool AuthentifierTexte(ContexteTelechargement& ctx, const std::string& dossier,
                       const std::string& objet, std::string_view texte, std::string& message);

} // namespace emporteur
