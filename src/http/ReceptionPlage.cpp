#include "http/ReceptionPlage.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>
#include <utility>

namespace emporteur {

namespace {
// Le corps d'une réponse d'erreur est vidé pour garder la connexion, jusqu'à cette taille.
constexpr std::size_t MaxCorpsIgnore = 64 * 1024;

std::string_view SansBlancs(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

bool MemeNom(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool LireEntier(std::string_view s, std::uint64_t& n) {
    if (s.empty()) return false;
    auto [p, e] = std::from_chars(s.data(), s.data() + s.size(), n);
    return e == std::errc() && p == s.data() + s.size();
}

// "HTTP/1.1 206 Partial Content" → 206 ; 0 si ce n'est pas une ligne de statut.
std::int32_t LireStatut(std::string_view ligne) {
    if (ligne.substr(0, 5) != "HTTP/") return 0;
    const auto blanc = ligne.find(' ');
    if (blanc == std::string_view::npos || ligne.size() < blanc + 4) return 0;
    std::uint64_t n = 0;
    if (!LireEntier(ligne.substr(blanc + 1, 3), n) || n < 100 || n > 999) return 0;
    return static_cast<std::int32_t>(n);
}
// Le nom d'encodage tel qu'on peut l'écrire au journal ; vide pour identity.
std::string EncodageLisible(std::string_view valeur) {
    if (valeur.empty() || MemeNom(valeur, "identity")) return {};
    std::string texte;
    for (const char c : valeur.substr(0, 40))
        texte += (c >= 0x20 && c < 0x7F) ? c : '?';
    return texte;
}
} // namespace

bool LireContentRange(std::string_view valeur, std::uint64_t& debut, std::uint64_t& fin) {
    valeur = SansBlancs(valeur);
    if (valeur.size() < 6 || !MemeNom(valeur.substr(0, 6), "bytes ")) return false;
    valeur = SansBlancs(valeur.substr(6));
    const auto tiret = valeur.find('-');
    const auto barre = valeur.find('/');
    if (tiret == std::string_view::npos || barre == std::string_view::npos || barre < tiret)
        return false;
    std::uint64_t total = 0;
    const auto texteTotal = valeur.substr(barre + 1);
    if (!LireEntier(valeur.substr(0, tiret), debut) ||
        !LireEntier(valeur.substr(tiret + 1, barre - tiret - 1), fin) || fin < debut)
        return false;
    if (texteTotal == "*") return true;
    return LireEntier(texteTotal, total) && fin < total;
}

ReceptionPlage::ReceptionPlage(void* tampon, std::uint32_t longueur, std::uint64_t decalage)
    : tampon_(static_cast<unsigned char*>(tampon)), longueur_(longueur), decalage_(decalage) {}

ReceptionPlage::ReceptionPlage(Livraison livrer, std::uint32_t longueur, std::uint64_t decalage)
    : tampon_(nullptr), livrer_(std::move(livrer)), longueur_(longueur), decalage_(decalage) {}

void ReceptionPlage::LigneEntete(std::string_view ligne) {
    if (const auto statut = LireStatut(ligne)) {
        // Nouvelle réponse (après un 401, un 407, une redirection) : tout repart de zéro.
        statut_ = statut;
        plagePresente_ = false;
        retryAfter_.clear();
        encodage_.clear();
        return;
    }
    const auto deuxPoints = ligne.find(':');
    if (deuxPoints == std::string_view::npos) return;
    const auto nom = SansBlancs(ligne.substr(0, deuxPoints));
    const auto valeur = ligne.substr(deuxPoints + 1);
    if (MemeNom(nom, "Content-Range"))
        plagePresente_ = LireContentRange(valeur, plageDebut_, plageFin_);
    else if (MemeNom(nom, "Retry-After"))
        retryAfter_ = SansBlancs(valeur).substr(0, 64); // une date tient en 29 octets
    else if (MemeNom(nom, "Content-Encoding"))
        encodage_ = EncodageLisible(SansBlancs(valeur));
}

void ReceptionPlage::AccepterCorpsEntier(std::uint32_t taille, std::function<void()> avis) {
    tailleCorps_ = taille;
    avisCorps_ = std::move(avis);
}

bool ReceptionPlage::Accepter2xx() {
    if (statut_ != 206 && avisCorps_ && livrer_ && tailleCorps_ > 0) {
        avisCorps_();
        aSauter_ = 0;
        longueur_ = tailleCorps_;
        return true;
    }
    if (statut_ != 206) {
        // Un 2xx sans plage porte l'objet entier depuis l'octet 0.
        aSauter_ = decalage_;
        return true;
    }
    const std::uint64_t finDemandee = decalage_ + longueur_ - 1;
    return plagePresente_ && plageDebut_ == decalage_ && plageFin_ <= finDemandee;
}

std::size_t ReceptionPlage::Recevoir(const char* octets, std::size_t n) {
    if (statut_ < 200 || statut_ > 299) {
        ignores_ += n;
        if (ignores_ <= MaxCorpsIgnore) return n;
        arret_ = ArretReception::CorpsIgnore;
        return 0;
    }
    if (!encodage_.empty()) {
        arret_ = ArretReception::Compresse;
        return 0;
    }
    if (!corpsCommence_) {
        corpsCommence_ = true;
        if (!Accepter2xx()) {
            arret_ = ArretReception::PlageIncoherente;
            return 0;
        }
    }
    return Stocker(octets, n);
}

// Une exception ne doit pas traverser libcurl : elle vaut un refus.
bool ReceptionPlage::Livrer(const char* octets, std::size_t n) {
    try {
        return livrer_(octets, n);
    } catch (...) {
        return false;
    }
}

std::size_t ReceptionPlage::Stocker(const char* octets, std::size_t n) {
    const auto saut = static_cast<std::size_t>(std::min<std::uint64_t>(aSauter_, n));
    aSauter_ -= saut;
    const std::size_t reste = n - saut;
    const std::size_t place = longueur_ - recus_;
    const std::size_t pris = std::min(reste, place);
    if (pris > 0) {
        if (!livrer_) std::memcpy(tampon_ + recus_, octets + saut, pris);
        recus_ += static_cast<std::uint32_t>(pris);
        if (livrer_ && !Livrer(octets + saut, pris)) {
            arret_ = ArretReception::Refus;
            return 0;
        }
    }
    if (reste > pris) {
        // Au-delà de la plage demandée : on garde ce qui a été demandé et on coupe.
        arret_ = ArretReception::Complet;
        return 0;
    }
    return n;
}

} // namespace emporteur
