#include "foundation/FichierProfil.h"

#include "foundation/CheminNatif.h"
#include "foundation/Chemins.h"
#include "foundation/DossiersUtilisateur.h"
#include "foundation/Fichiers.h"
#include "foundation/LecteurProfil.h"

#include <algorithm>

namespace emporteur {

namespace {
// Coupe à au plus `maximum` octets, sans laisser un caractère UTF-8 entamé.
void Couper(std::string& texte, std::size_t maximum) {
    if (texte.size() <= maximum) return;
    std::size_t fin = maximum;
    while (fin > 0 && (static_cast<unsigned char>(texte[fin]) & 0xC0) == 0x80)
        --fin;
    texte.erase(fin);
}

std::string Resoudre(const std::string& fichier) {
    if (std::none_of(fichier.begin(), fichier.end(), EstSeparateur)) {
        std::string candidat = DossierSysteme();
        AjouterBarre(candidat);
        candidat += fichier;
        return EntreeExiste(candidat, true) ? candidat : fichier;
    }
    if (!EntreeExiste(fichier, true)) return fichier;
    std::error_code erreur;
    const auto absolu = std::filesystem::absolute(CheminNatif(fichier), erreur);
    return erreur ? fichier : CheminUtf8(absolu);
}
} // namespace

std::string profil::SansBlancsFinaux(std::string texte) {
    while (!texte.empty() && (texte.back() == ' ' || texte.back() == '\t'))
        texte.pop_back();
    return texte;
}

FichierProfil::FichierProfil(const std::string& section, const std::string& fichier)
    : section_(section), fichier_(fichier.empty() ? std::string() : Resoudre(fichier)) {}

bool FichierProfil::LireTexte(const std::string& cle, std::string& sortie, std::size_t taille,
                              const std::string& defaut) const {
    sortie.clear();
    if (taille == 0) return false;
    sortie = fichier_.empty() ? profil::SansBlancsFinaux(defaut)
                              : profil::LireValeur(fichier_, section_, cle, defaut);
    Couper(sortie, taille - 1);
    return !sortie.empty();
}

} // namespace emporteur
