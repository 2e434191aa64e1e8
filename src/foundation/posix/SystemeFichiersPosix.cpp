#include "foundation/SystemeFichiers.h"

#include "foundation/Fichiers.h"

#include <glob.h>
#include <sys/stat.h>
#include <unistd.h>

namespace emporteur {

bool EntreeExiste(const std::string& chemin, bool suivreLiens) {
    struct stat etat {};
    return (suivreLiens ? ::stat(chemin.c_str(), &etat) : ::lstat(chemin.c_str(), &etat)) == 0;
}

namespace systeme {

bool ChercherMotif(const std::string& motif) {
    glob_t resultat{};
    const int code =
        ::glob(motif.c_str(), GLOB_NOESCAPE | GLOB_PERIOD | GLOB_NOSORT, nullptr, &resultat);
    const bool trouve = code == 0 && resultat.gl_pathc > 0;
    ::globfree(&resultat);
    return trouve;
}

bool CreerUnDossier(const std::string& chemin) {
    return ::mkdir(chemin.c_str(), 0777) == 0;
}

void RendreEcrivable(const std::string& chemin) {
    struct stat etat {};
    if (::lstat(chemin.c_str(), &etat) == 0 && !S_ISLNK(etat.st_mode) && !(etat.st_mode & S_IWUSR))
        ::chmod(chemin.c_str(), (etat.st_mode & 07777) | S_IWUSR);
}

bool EffacerUnFichier(const std::string& chemin) {
    return ::unlink(chemin.c_str()) == 0; // la notification au bureau n'a pas d'équivalent ici
}

} // namespace systeme
} // namespace emporteur
