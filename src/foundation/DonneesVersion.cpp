#include "foundation/DonneesVersion.h"

#include <algorithm>
#include <cstdio>

namespace emporteur {

namespace {
constexpr std::uint32_t kSignatureFixe = 0xFEEF04BD;
constexpr std::size_t kTailleFixe = 52;
constexpr std::size_t kTailleEntete = 6; // wLength, wValueLength, wType

std::uint16_t Mot(std::span<const std::uint8_t> b, std::size_t i) {
    return static_cast<std::uint16_t>(b[i] | b[i + 1] << 8);
}
std::uint32_t Double(std::span<const std::uint8_t> b, std::size_t i) {
    return Mot(b, i) | static_cast<std::uint32_t>(Mot(b, i + 2)) << 16;
}
std::size_t Aligner(std::size_t n) {
    return (n + 3) & ~std::size_t(3);
}

void AjouterUtf8(std::string& sortie, std::uint32_t c) {
    if (c < 0x80) {
        sortie += static_cast<char>(c);
    } else if (c < 0x800) {
        sortie += static_cast<char>(0xC0 | c >> 6);
        sortie += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        sortie += static_cast<char>(0xE0 | c >> 12);
        sortie += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        sortie += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        sortie += static_cast<char>(0xF0 | c >> 18);
        sortie += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        sortie += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        sortie += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// UTF-16LE de [debut, fin) jusqu'au premier NUL ; une demi-paire isolée devient U+FFFD.
// Vrai si le NUL a été trouvé ; `fin` reçoit alors la position qui le suit.
bool Utf16VersUtf8(std::span<const std::uint8_t> b, std::size_t debut, std::size_t& fin,
                   std::string& sortie) {
    sortie.clear();
    std::size_t i = debut;
    while (i + 2 <= fin) {
        std::uint32_t c = Mot(b, i);
        i += 2;
        if (c == 0) {
            fin = i;
            return true;
        }
        if (c >= 0xD800 && c < 0xDC00 && i + 2 <= fin && Mot(b, i) >= 0xDC00 &&
            Mot(b, i) < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (Mot(b, i) - 0xDC00);
            i += 2;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;
        }
        AjouterUtf8(sortie, c);
    }
    return false;
}

// Un bloc de l'arbre : [debut, fin), son nom, sa valeur et le début de ses enfants.
struct Noeud {
    std::size_t fin = 0, debutValeur = 0, tailleValeur = 0, debutEnfants = 0;
    std::uint16_t type = 0;
    std::string cle;
};

// Faux si l'en-tête ou le nom déborde de `limite` ; la valeur est rognée au bloc.
bool LireNoeud(std::span<const std::uint8_t> b, std::size_t debut, std::size_t limite, Noeud& n) {
    if (debut > limite || limite - debut < kTailleEntete) return false;
    const std::size_t longueur = Mot(b, debut);
    if (longueur < kTailleEntete || longueur > limite - debut) return false;
    n.fin = debut + longueur;
    n.type = Mot(b, debut + 4);
    std::size_t finCle = n.fin;
    if (!Utf16VersUtf8(b, debut + kTailleEntete, finCle, n.cle))
        return false; // nom sans terminateur
    // Texte : longueur en caractères ; binaire : en octets.
    const std::size_t taille = std::size_t(Mot(b, debut + 2)) * (n.type == 1 ? 2 : 1);
    n.debutValeur = std::min(Aligner(finCle), n.fin);
    n.tailleValeur = std::min(taille, n.fin - n.debutValeur);
    n.debutEnfants = std::min(Aligner(n.debutValeur + n.tailleValeur), n.fin);
    return true;
}

// Appelle `visiter` pour chaque enfant bien formé, dans l'ordre ; s'arrête au premier
// enfant illisible. Chaque pas avance d'au moins 6 octets : pas de boucle sans fin.
template <typename F>
void ParcourirEnfants(std::span<const std::uint8_t> b, const Noeud& parent, F visiter) {
    std::size_t position = parent.debutEnfants;
    Noeud enfant;
    while (LireNoeud(b, position, parent.fin, enfant)) {
        visiter(enfant);
        position = Aligner(enfant.fin);
    }
}

bool PremierEnfant(std::span<const std::uint8_t> b, const Noeud& parent, std::string_view nom,
                   Noeud& trouve) {
    bool present = false;
    ParcourirEnfants(b, parent, [&](const Noeud& enfant) {
        if (!present && MemeNom(enfant.cle, nom)) {
            trouve = enfant;
            present = true;
        }
    });
    return present;
}

std::string ValeurTexte(std::span<const std::uint8_t> b, const Noeud& n) {
    std::size_t fin = n.debutValeur + n.tailleValeur;
    std::string texte;
    Utf16VersUtf8(b, n.debutValeur, fin, texte); // terminateur facultatif
    return texte;
}

void DecoderTables(std::span<const std::uint8_t> b, const Noeud& racine, DonneesVersion& d) {
    Noeud infos;
    if (!PremierEnfant(b, racine, "StringFileInfo", infos)) return;
    ParcourirEnfants(b, infos, [&](const Noeud& table) {
        TableTextes t{table.cle, {}};
        ParcourirEnfants(b, table, [&](const Noeud& valeur) {
            t.Valeurs.emplace_back(valeur.cle, ValeurTexte(b, valeur));
        });
        d.Tables.push_back(std::move(t));
    });
}

void DecoderTraductions(std::span<const std::uint8_t> b, const Noeud& racine, DonneesVersion& d) {
    Noeud infos, traduction;
    if (!PremierEnfant(b, racine, "VarFileInfo", infos) ||
        !PremierEnfant(b, infos, "Translation", traduction))
        return;
    for (std::size_t i = 0; i + 4 <= traduction.tailleValeur; i += 4)
        d.Traductions.push_back(Double(b, traduction.debutValeur + i));
}
} // namespace

bool DecoderBlocVersion(std::span<const std::uint8_t> bloc, DonneesVersion& donnees) {
    donnees = {};
    Noeud racine;
    if (!LireNoeud(bloc, 0, bloc.size(), racine) || racine.tailleValeur < kTailleFixe ||
        Double(bloc, racine.debutValeur) != kSignatureFixe)
        return false;
    const std::size_t v = racine.debutValeur;
    donnees.Fixe = {Double(bloc, v + 8), Double(bloc, v + 12), Double(bloc, v + 16),
                    Double(bloc, v + 20)};
    DecoderTables(bloc, racine, donnees);
    DecoderTraductions(bloc, racine, donnees);
    return true;
}

bool DonneesVersion::PremiereTraduction(std::uint32_t& traduction) const {
    if (Traductions.empty()) return false;
    traduction = Traductions.front();
    return true;
}

const std::string* DonneesVersion::Texte(std::string_view requete) const {
    constexpr std::string_view kRacine = "\\StringFileInfo\\";
    if (requete.size() < kRacine.size() || !MemeNom(requete.substr(0, kRacine.size()), kRacine))
        return nullptr;
    requete.remove_prefix(kRacine.size());
    const auto barre = requete.find('\\');
    if (barre == std::string_view::npos) return nullptr;
    const std::string_view cle = requete.substr(0, barre), nom = requete.substr(barre + 1);
    const auto table = std::find_if(Tables.begin(), Tables.end(),
                                    [&](const TableTextes& t) { return MemeNom(t.Cle, cle); });
    if (table == Tables.end()) return nullptr;
    for (const auto& [n, valeur] : table->Valeurs) {
        if (MemeNom(n, nom)) return &valeur;
    }
    return nullptr;
}

std::string PrefixeTraduction(std::uint32_t traduction) {
    char tampon[40];
    std::snprintf(tampon, sizeof tampon, "\\StringFileInfo\\%04X%04X\\", traduction & 0xFFFF,
                  traduction >> 16);
    return tampon;
}

bool MemeNom(std::string_view a, std::string_view b) {
    const auto minuscule = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
               return minuscule(x) == minuscule(y);
           });
}

} // namespace emporteur
