#include "messages/DossierProduit.h"

#include "foundation/Chemins.h"
#include "foundation/CleRegistre.h"
#include "foundation/FichierProfil.h"
#include "foundation/Fichiers.h"

#include <algorithm>
#include <cstdint>

namespace emporteur {

namespace {
constexpr const char* kCleUtilisateur = "Software\\Mervane\\Orthalis\\6.0\\Installation";
constexpr const char* kCleMachine = "SOFTWARE\\Mervane\\Orthalis";
constexpr const char* kValeurDossier = "DossierOrthalis";

// Un dossier lu du registre peut contenir * ou ? (permis sous Linux) : il est testé
// littéralement, jamais comme un motif qui accepterait un autre dossier.
bool ContientExecutable(const std::string& dossier) {
    if (dossier.find_first_of("*?") == std::string::npos)
        return FichierExiste(kExecutableProduit, dossier);
    return EntreeExiste(dossier + kExecutableProduit);
}

// Vrai si le dossier, terminé par "/", tient dans la capacité et contient l'exécutable.
bool Accepter(std::string candidat, std::size_t capacite, std::string& dossier) {
    if (candidat.empty()) return false; // un dossier vide désignerait le dossier courant
    AjouterBarre(candidat);
    if (candidat.size() >= capacite || !ContientExecutable(candidat)) return false;
    dossier = candidat;
    return true;
}

// L'exécutable d'ici n'a pas d'extension : on retire le dernier élément, toujours un
// nom de fichier, plutôt que de chercher un point.
std::string DossierProgramme(const std::string& programme) {
    std::string dossier = programme;
    RetirerDernierElement(dossier);
    const bool racine = dossier.empty() && !programme.empty() && programme[0] == kSeparateur;
    return racine ? std::string(1, kSeparateur) : dossier;
}

bool DossierVoisin(const std::string& programme, std::size_t capacite, std::string& dossier) {
    if (programme.empty()) return false;
    std::string voisin = DossierProgramme(programme);
    RetirerBarre(voisin);
    RetirerDernierElement(voisin);
    return Accepter(voisin + kSeparateur + "Orthalis", capacite, dossier);
}

bool DossierRegistre(Ruche ruche, const char* sousCle, std::size_t capacite, std::string& dossier) {
    CleRegistre cle;
    if (cle.OuvrirCle(ruche, sousCle, KEY_READ) != ERROR_SUCCESS) return false;
    std::string valeur;
    const auto capaciteLue =
        static_cast<std::uint32_t>(std::min<std::size_t>(capacite, UINT32_MAX));
    if (cle.LireTexte(kValeurDossier, valeur, capaciteLue) != ERROR_SUCCESS) return false;
    return Accepter(valeur, capacite, dossier);
}

bool DossierProfil(std::size_t capacite, std::string& dossier) {
    std::string windows = DossierSysteme();
    AjouterBarre(windows);
    if (!FichierExiste("Orthalis.ini", windows)) return false;
    const FichierProfil profil("Orthalis", windows + "Orthalis.ini");
    std::string valeur;
    if (!profil.LireTexte("Repertoire", valeur, capacite, "")) return false;
    return Accepter(valeur, capacite, dossier);
}
} // namespace

bool TrouverDossierProduit(std::string& dossier, std::size_t capacite,
                           const std::string& programme) {
    dossier.clear();
    if (!programme.empty() && Accepter(DossierProgramme(programme), capacite, dossier)) return true;
    if (DossierVoisin(programme, capacite, dossier)) return true;
    if (DossierRegistre(HKEY_CURRENT_USER, kCleUtilisateur, capacite, dossier)) return true;
    if (DossierRegistre(HKEY_LOCAL_MACHINE, kCleMachine, capacite, dossier)) return true;
    return DossierProfil(capacite, dossier);
}

bool CheminExecutableProduit(std::string& chemin, std::size_t capacite,
                             const std::string& programme) {
    std::string dossier;
    if (!TrouverDossierProduit(dossier, kCapaciteChemin, programme)) return false;
    const std::string complet = dossier + kExecutableProduit;
    if (complet.size() >= capacite) return false;
    chemin = complet;
    return true;
}

} // namespace emporteur
