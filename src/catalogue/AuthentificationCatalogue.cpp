#include "catalogue/AuthentificationCatalogue.h"

#include "catalogue/RecuperationCatalogue.h"
#include "catalogue/SyntaxeCatalogue.h"
#include "commun/ClesPubliques.h"
#include "commun/Hotes.h"
#include "foundation/CleRegistre.h"
#include "foundation/Empreinte.h"
#include "foundation/Signature.h"
#include "http/ChargerTexte.h"

#include <charconv>
#include <chrono>
#include <cstdio>

namespace emporteur {

namespace {
constexpr std::string_view kDebutSerie = "# emporteur ";
const char* const kCleSeries = "Software\\Mervane\\Orthalis\\Emporteur\\Series";
// Une signature DER P-256 tient en 72 octets ; au-delà ce n'en est pas une.
constexpr std::size_t kCapaciteSignature = 1024;

std::string Nomme(const std::string& nom) {
    return "Le fichier de configuration « " + nom + " »";
}

// Les lignes du texte brut, retours chariot de fin retirés.
std::string_view Ligne(std::string_view& reste) {
    const auto fin = reste.find('\n');
    std::string_view ligne = reste.substr(0, fin);
    reste = fin == std::string_view::npos ? std::string_view() : reste.substr(fin + 1);
    if (!ligne.empty() && ligne.back() == '\r') ligne.remove_suffix(1);
    return ligne;
}

bool LireSerie(std::string_view texte, std::uint32_t& serie) {
    if (texte.empty() || texte.size() > 10) return false;
    const auto [fin, erreur] = std::from_chars(texte.data(), texte.data() + texte.size(), serie);
    return erreur == std::errc() && fin == texte.data() + texte.size();
}

std::string Extraire(std::string_view ligne, std::string_view cle) {
    const auto debut = ligne.find(cle);
    if (debut == std::string_view::npos) return {};
    ligne.remove_prefix(debut + cle.size());
    return std::string(ligne.substr(0, ligne.find(' ')));
}

// Le premier ingrédient sans empreinte lisible, ou vide si chacun en a une.
std::string IngredientSansEmpreinte(std::string_view texte) {
    std::string propre(texte);
    RetirerRetoursChariot(propre);
    SeparerPremiereLigne(propre);
    std::string fautif;
    PourChaqueLigne(propre, [&](std::string_view ligne) {
        Sha256 e{};
        if (LireHexadecimal(ExtraireValeur(ligne, "sha256="), e)) return true;
        fautif = ExtraireValeur(ligne, "cle=");
        if (fautif.empty()) fautif = "?";
        return false;
    });
    return fautif;
}

void RetenirSerie(const std::string& nom, std::uint32_t serie) {
    CleOuverte cle;
    if (CreerCle(HKEY_CURRENT_USER, kCleSeries, KEY_WRITE, cle) == ERROR_SUCCESS)
        cle.EcrireDword(nom, serie);
}
} // namespace

bool DateValide(std::string_view d) {
    if (d.size() != 10 || d[4] != '-' || d[7] != '-') return false;
    for (const std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (d[i] < '0' || d[i] > '9') return false;
    const int mois = (d[5] - '0') * 10 + (d[6] - '0'), jour = (d[8] - '0') * 10 + (d[9] - '0');
    return mois >= 1 && mois <= 12 && jour >= 1 && jour <= 31;
}

bool LireLigneSerie(std::string_view texte, LigneSerie& resultat) {
    Ligne(texte); // la ligne de format
    const std::string_view ligne = Ligne(texte);
    if (!ligne.starts_with(kDebutSerie)) return false;
    LigneSerie lue;
    lue.Expire = Extraire(ligne, " expire=");
    if (!LireSerie(Extraire(ligne, " serie="), lue.Serie) || !DateValide(lue.Expire)) return false;
    resultat = lue;
    return true;
}

std::string AvecLigneSerie(std::string_view texte, const LigneSerie& serie) {
    std::string_view reste = texte;
    const std::string_view format = Ligne(reste);
    // La fin de ligne du texte est gardée : un texte en CR LF le reste.
    const bool crlf = texte.size() > format.size() && texte[format.size()] == '\r';
    const std::string fin = crlf ? "\r\n" : "\n";
    std::string_view suite = reste;
    if (Ligne(suite).starts_with(kDebutSerie)) reste = suite;
    return std::string(format) + fin + std::string(kDebutSerie) +
           "serie=" + std::to_string(serie.Serie) + " expire=" + serie.Expire + fin +
           std::string(reste);
}

// En temps universel, comme la date de construction : la même sur toutes les plateformes.
std::string DateDuJour() {
    const std::chrono::year_month_day jour{
        std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now())};
    char tampon[16];
    std::snprintf(tampon, sizeof tampon, "%04d-%02u-%02u", static_cast<int>(jour.year()),
                  static_cast<unsigned>(jour.month()), static_cast<unsigned>(jour.day()));
    return tampon;
}

AuthentificationCatalogue::AuthentificationCatalogue(std::vector<std::string> cles,
                                                     Aujourdhui aujourdhui,
                                                     std::string dateConstruction, Journal* journal)
    : cles_(std::move(cles)), aujourdhui_(aujourdhui ? std::move(aujourdhui) : DateDuJour),
      dateConstruction_(dateConstruction.empty() ? DateConstruction()
                                                 : std::move(dateConstruction)),
      journal_(journal ? *journal : Journal::DuProcessus()) {}

std::uint32_t AuthentificationCatalogue::SerieRetenue(const std::string& nom) {
    CleOuverte cle;
    std::uint32_t serie = 0;
    if (OuvrirCle(HKEY_CURRENT_USER, kCleSeries, KEY_READ, cle) != ERROR_SUCCESS ||
        cle.LireDword(nom, serie) != ERROR_SUCCESS)
        return 0;
    return serie;
}

bool AuthentificationCatalogue::SigneParUneCle(std::string_view texte,
                                               const std::string& signature) const {
    for (const auto& cle : cles_)
        if (SignatureValide(cle, texte, signature)) return true;
    return false;
}

bool AuthentificationCatalogue::Refuser(std::string& message, std::string texte) const {
    journal_.EcrireLigne(MB_ICONHAND, texte, Reponse::Ok);
    message = std::move(texte);
    return false;
}

bool AuthentificationCatalogue::Verifier(const std::string& nom, std::string_view texte,
                                         const std::string* signature, const std::string& raison,
                                         bool ingredients, std::string& message) const {
    if (!Active()) return true;
    if (!signature) return Refuser(message, Nomme(nom) + " n’est pas signé :\n" + raison);
    if (!SigneParUneCle(texte, *signature))
        return Refuser(message, "La signature du fichier de configuration « " + nom +
                                    " » n’est pas valide (fichier modifié ou clé inconnue).");
    LigneSerie ligne;
    if (!LireLigneSerie(texte, ligne))
        return Refuser(message, Nomme(nom) + " ne porte pas de ligne de série valide.");
    const std::string jour = aujourdhui_();
    // Une horloge en deçà de la construction rendrait « expiré » ou « valide » au hasard.
    if (jour < dateConstruction_)
        return Refuser(message, "L’horloge de cet ordinateur indique le " + jour +
                                    ", avant la date de cet Emporteur (" + dateConstruction_ +
                                    ") : réglez la date et l’heure, puis réessayez.");
    if (jour > ligne.Expire)
        return Refuser(message, Nomme(nom) + " a expiré le " + ligne.Expire + ".");
    const std::uint32_t retenue = SerieRetenue(nom);
    if (ligne.Serie < retenue)
        return Refuser(message, Nomme(nom) + " est plus ancien que celui déjà reçu (série " +
                                    std::to_string(ligne.Serie) +
                                    ", déjà reçue : " + std::to_string(retenue) + ").");
    if (ingredients) {
        const std::string fautif = IngredientSansEmpreinte(texte);
        if (!fautif.empty())
            return Refuser(message, Nomme(nom) + " ne donne pas l’empreinte SHA-256 du fichier « " +
                                        fautif + " ».");
    }
    if (ligne.Serie > retenue) RetenirSerie(nom, ligne.Serie);
    return true;
}

bool AuthentifierTexte(ContexteTelechargement& ctx, const std::string& dossier,
                       const std::string& objet, std::string_view texte, std::string& message) {
    const AuthentificationCatalogue auth(ctx.ClesPubliques);
    if (!auth.Active()) return true;
    // "ingredients.php?" est signé par "ingredients.php.sig", retenu sous "ingredients.php".
    const std::string nom = objet.ends_with('?') ? objet.substr(0, objet.size() - 1) : objet;
    std::string signature;
    const bool lue = ChargerTexte(AccesDuContexte(ctx), HoteServeur(), dossier, nom + ".sig",
                                  signature, kCapaciteSignature);
    const bool ingredients = nom == "IngredientsOrthalis" || nom == "ingredients.php";
    return auth.Verifier(nom, texte, lue ? &signature : nullptr, lue ? "" : signature, ingredients,
                         message);
}

} // namespace emporteur
