#include "foundation/Fichiers.h"

#include "foundation/Chemins.h"

#include <chrono>
#include <glob.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace emporteur {

bool EntreeExiste(const std::string& chemin, bool suivreLiens) {
    struct stat etat {};
    return (suivreLiens ? ::stat(chemin.c_str(), &etat) : ::lstat(chemin.c_str(), &etat)) == 0;
}

namespace {
bool Chercher(const std::string& motif) {
    if (motif.find_first_of("*?") == std::string::npos) return EntreeExiste(motif);
    glob_t resultat{};
    const int code =
        ::glob(motif.c_str(), GLOB_NOESCAPE | GLOB_PERIOD | GLOB_NOSORT, nullptr, &resultat);
    const bool trouve = code == 0 && resultat.gl_pathc > 0;
    ::globfree(&resultat);
    return trouve;
}

bool CreerUnNiveau(const std::string& chemin) {
    return ::mkdir(chemin.c_str(), 0777) == 0;
}

// Rend au propriétaire le droit d'écriture s'il lui a été retiré.
void RendreEcrivable(const std::string& chemin) {
    struct stat etat {};
    if (::lstat(chemin.c_str(), &etat) == 0 && !S_ISLNK(etat.st_mode) && !(etat.st_mode & S_IWUSR))
        ::chmod(chemin.c_str(), (etat.st_mode & 07777) | S_IWUSR);
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
    return Chercher(copie.empty() ? std::string(1, kSeparateur) : copie); // "" : la racine
}

bool CreerDossier(const std::string& chemin) {
    if (chemin.empty() || DossierExiste(chemin)) return false;
    bool resultat = false;
    std::string parent;
    for (std::size_t i = 0; i < chemin.size(); ++i) {
        parent += chemin[i];
        const bool suiviDeBarre = i + 1 < chemin.size() && chemin[i + 1] == kSeparateur;
        if (suiviDeBarre && !DossierExiste(parent)) resultat = CreerUnNiveau(parent);
    }
    if (!DossierExiste(chemin)) resultat = CreerUnNiveau(chemin);
    return resultat;
}

bool EffacerFichier(const std::string& chemin) {
    // Recherche littérale : un nom de fichier peut contenir "*", "?" ou "[".
    if (!EntreeExiste(chemin)) return true;
    for (int essai = 1; essai <= 3; ++essai) {
        if (EntreeExiste(chemin)) RendreEcrivable(chemin);
        if (::unlink(chemin.c_str()) == 0)
            return true; // la notification au bureau n'a pas d'équivalent ici
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
