#include "foundation/Fichiers.h"

#include "foundation/Chemins.h"
#include "foundation/SystemeFichiers.h"

#include <chrono>
#include <thread>

namespace emporteur {

namespace {
bool Chercher(const std::string& motif) {
    if (motif.find_first_of("*?") == std::string::npos) return EntreeExiste(motif);
    return systeme::ChercherMotif(motif);
}

// Vrai pour un lecteur nu, "C:" : il se cherche par sa racine.
bool EstLecteur(const std::string& chemin) {
    return kLecteurs && chemin.size() == 2 && chemin[1] == ':';
}
} // namespace

bool FichierExiste(const std::string& nom, const std::string& dossier) {
    if (dossier.empty()) return Chercher(nom);
    std::string motif = dossier;
    AjouterBarre(motif);
    return Chercher(motif + nom);
}

bool DossierExiste(const std::string& chemin) {
    if (chemin.empty()) return false;
    std::string copie = chemin;
    RetirerBarre(copie);
    if (copie.empty() || EstLecteur(copie)) copie += kSeparateur; // la racine
    return Chercher(copie);
}

bool CreerDossier(const std::string& chemin) {
    if (chemin.empty() || DossierExiste(chemin)) return false;
    bool resultat = false;
    std::string parent;
    for (std::size_t i = 0; i < chemin.size(); ++i) {
        parent += chemin[i];
        const bool suiviDeBarre = i + 1 < chemin.size() && EstSeparateur(chemin[i + 1]);
        if (suiviDeBarre && !DossierExiste(parent)) resultat = systeme::CreerUnDossier(parent);
    }
    if (!DossierExiste(chemin)) resultat = systeme::CreerUnDossier(chemin);
    return resultat;
}

bool EffacerFichier(const std::string& chemin) {
    // Recherche littérale : un nom de fichier peut contenir "*", "?" ou "[".
    if (!EntreeExiste(chemin)) return true;
    for (int essai = 1; essai <= 3; ++essai) {
        if (EntreeExiste(chemin)) systeme::RendreEcrivable(chemin);
        if (systeme::EffacerUnFichier(chemin)) return true;
        if (essai < 3) std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    return false;
}

bool ChoisirDossier(InterfaceUtilisateur& ui, std::string& chemin, const std::string& titre) {
    std::string choisi = chemin; // le dossier où le sélecteur s'ouvre
    if (!ui.ChoisirDossier(titre, choisi) || choisi.empty()) return false;
    chemin = choisi;
    return true;
}

} // namespace emporteur
