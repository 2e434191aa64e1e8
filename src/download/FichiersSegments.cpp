#include "download/FichiersSegments.h"

#include "download/AssemblageEnCours.h"
#include "download/Crc32.h"
#include "download/DescripteurFichier.h"
#include "download/EmpreinteFichier.h"
#include "download/PlanSegments.h"
#include "foundation/Fichiers.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace emporteur {

namespace {
std::string Formater(const char* format, int a, int b = 0) {
    char tampon[160];
    std::snprintf(tampon, sizeof tampon, format, a, b);
    return tampon;
}

void EchecLecture(Progression& p, int code) {
    p.AjouterMessage(
        Formater("Échec de téléchargement : impossible de lire sur le disque (code %d).", code));
}

void EchecEcriture(Progression& p, int code) {
    p.AjouterMessage(Formater(
        "Échec de téléchargement : impossible d'écrire sur le disque : erreur code %d.", code));
}

void EchecSysteme(Progression& p, int erreur) {
    p.AjouterMessage("Échec de téléchargement : CException(" + DescriptionErreur(erreur) + ").");
}

void EchecInconnu(Progression& p) {
    p.AjouterMessage("Échec de téléchargement : exception inconnue.");
}

void LigneSegment(Progression& p, std::uint32_t index, std::uint32_t nombre) {
    p.AjouterMessage(
        Formater("Segment %d de %d... ", static_cast<int>(index + 1), static_cast<int>(nombre)));
}

std::string NomEntier(const std::string& dossier, const Ingredient& ing) {
    return dossier + ing.NomLocal;
}

constexpr std::string_view kSuffixeAssemblage = ".assemblage";

// Le fichier entier n'est remplacé que s'il est absent ou ordinaire : un dossier ou
// un lien symbolique sous son nom reste tel quel.
bool EntierRemplacable(const std::string& nom) {
    struct stat st {};
    if (::lstat(nom.c_str(), &st) != 0) return errno == ENOENT;
    if (S_ISREG(st.st_mode)) return true;
    errno = S_ISDIR(st.st_mode) ? EISDIR : ELOOP;
    return false;
}

// Le renommage lui-même doit survivre à une panne avant que les segments s'effacent.
void SynchroniserDossier(const std::string& dossier) {
    const int fd = ::open(dossier.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Un segment du fichier entier vers son fichier ; faux après avoir journalisé.
bool ExtraireSegment(const DescripteurFichier& entier, std::uint64_t debut, std::uint64_t longueur,
                     const std::string& nom, Progression& p) {
    DescripteurFichier segment = DescripteurFichier::CreerNeuf(nom);
    if (!segment.EstOuvert()) {
        EchecEcriture(p, 2);
        return false;
    }
    const std::int64_t copie = CopierPlage(entier, debut, segment, 0, longueur);
    if (copie < 0 || !segment.Fermer()) {
        EchecSysteme(p, errno);
        return false;
    }
    if (static_cast<std::uint64_t>(copie) < longueur) {
        EchecLecture(p, 2);
        return false;
    }
    return true;
}

// Un segment déjà bon sur le disque vaut mieux qu'une copie du fichier entier.
bool SegmentDejaValide(std::vector<char>& tampon, const PlanSegments& plan, std::uint32_t i,
                       const std::string& dossier, const Ingredient& ing) {
    const std::uint32_t longueur = plan.Longueur(i);
    if (i >= ing.Crcs.size() || !EntreeExiste(NomSegment(dossier, ing.NomLocal, i))) return false;
    tampon.resize(longueur);
    return LireSegment(tampon.data(), longueur, dossier, ing, i) &&
           Crc32(0, tampon.data(), longueur) == ing.Crcs[i];
}

bool Segmenter(std::uint32_t nombre, const std::string& dossier, const Ingredient& ing,
               Progression& p) {
    const DescripteurFichier entier = DescripteurFichier::OuvrirLecture(NomEntier(dossier, ing));
    const std::int64_t taille = entier.Taille();
    if (!entier.EstOuvert() || taille < 0) {
        EchecLecture(p, 1);
        return false;
    }
    const PlanSegments plan(ing);
    const auto reel = static_cast<std::uint64_t>(taille);
    std::vector<char> tampon;
    // Les segments au-delà du plan ne servent à rien : on ne les crée pas.
    for (std::uint32_t i = 0; i < nombre && plan.TailleSegment() > 0 && plan.Debut(i) < reel; ++i) {
        LigneSegment(p, i, nombre);
        const std::uint64_t longueur =
            std::min<std::uint64_t>(plan.TailleSegment(), reel - plan.Debut(i));
        if (SegmentDejaValide(tampon, plan, i, dossier, ing)) continue;
        if (!ExtraireSegment(entier, plan.Debut(i), longueur, NomSegment(dossier, ing.NomLocal, i),
                             p))
            return false;
    }
    return true;
}

// Un fichier de segment vers sa place ; faux après avoir journalisé.
bool PlacerSegment(DescripteurFichier& entier, const PlanSegments& plan, std::uint32_t d,
                   const std::string& nom, Progression& p) {
    const DescripteurFichier segment = DescripteurFichier::OuvrirLecture(nom);
    if (!segment.EstOuvert()) {
        EchecLecture(p, 3);
        return false;
    }
    // La longueur prévue seulement : un fichier de segment trop long ne doit ni
    // allonger le fichier entier ni imposer un tampon démesuré.
    const std::uint32_t longueur = plan.Longueur(d);
    const std::int64_t copie = CopierPlage(segment, 0, entier, plan.Debut(d), longueur);
    if (copie < 0) {
        EchecSysteme(p, errno);
        return false;
    }
    if (static_cast<std::uint64_t>(copie) < longueur) {
        EchecLecture(p, 4);
        return false;
    }
    return true;
}

// Faux en cas d'échec ; une annulation arrête entre deux segments. Les `places`
// premiers segments y sont déjà.
bool Assembler(DescripteurFichier& assemblage, std::uint32_t places, std::uint32_t nombre,
               const std::string& dossier, const Ingredient& ing, Progression& p,
               const std::atomic<bool>& annule) {
    const PlanSegments plan(ing);
    for (std::uint32_t d = 0; d < nombre && !annule.load(); ++d) {
        LigneSegment(p, d, nombre);
        if (d >= places &&
            !PlacerSegment(assemblage, plan, d, NomSegment(dossier, ing.NomLocal, d), p))
            return false;
    }
    return true;
}

// Sur le disque, puis sous le nom du fichier entier ; faux après avoir journalisé.
bool Publier(DescripteurFichier& assemblage, const std::string& nomAssemblage,
             const std::string& dossier, const std::string& nomEntier, Progression& p) {
    if (!assemblage.Synchroniser() || !assemblage.Fermer() ||
        ::rename(nomAssemblage.c_str(), nomEntier.c_str()) != 0) {
        EchecSysteme(p, errno);
        return false;
    }
    SynchroniserDossier(dossier);
    return true;
}
} // namespace

std::string NomSegment(const std::string& dossier, const std::string& nomLocal,
                       std::uint32_t index) {
    return dossier + nomLocal + "." + std::to_string(index);
}

std::string NomAssemblage(const std::string& dossier, const std::string& nomLocal) {
    return dossier + "." + nomLocal + std::string(kSuffixeAssemblage);
}

bool NomLocalAdmis(const std::string& nom) {
    const bool reserve = nom.size() > kSuffixeAssemblage.size() + 1 && nom.front() == '.' &&
                         nom.ends_with(kSuffixeAssemblage);
    return !nom.empty() && nom != "." && nom != ".." && !reserve &&
           nom.find('/') == std::string::npos && nom.find('\0') == std::string::npos;
}

bool PreparerAssemblage(const std::string& dossier, const std::string& nomLocal) {
    EffacerAssemblage(dossier, nomLocal);
    const std::string nom = NomAssemblage(dossier, nomLocal);
    DescripteurFichier essai = DescripteurFichier::CreerNeuf(nom);
    if (!essai.EstOuvert()) return false;
    essai.Fermer();
    return ::unlink(nom.c_str()) == 0;
}

// Le nom est à nous : un lien qui l'occupe est retiré (sa cible reste intacte).
void EffacerAssemblage(const std::string& dossier, const std::string& nomLocal) {
    const std::string nom = NomAssemblage(dossier, nomLocal);
    struct stat st {};
    if (::lstat(nom.c_str(), &st) == 0 && (S_ISREG(st.st_mode) || S_ISLNK(st.st_mode)))
        ::unlink(nom.c_str());
}

bool LireSegment(void* tampon, std::uint32_t longueur, const std::string& dossier,
                 const Ingredient& ing, std::uint32_t index) {
    const DescripteurFichier f =
        DescripteurFichier::OuvrirLecture(NomSegment(dossier, ing.NomLocal, index));
    return f.EstOuvert() && f.LireA(tampon, longueur, 0) == std::int64_t{longueur};
}

bool EcrireSegment(const void* tampon, std::uint32_t longueur, const std::string& dossier,
                   const Ingredient& ing, std::uint32_t index) {
    DescripteurFichier f = DescripteurFichier::CreerNeuf(NomSegment(dossier, ing.NomLocal, index));
    return f.EstOuvert() && f.EcrireA(tampon, longueur, 0) && f.Fermer();
}

bool SegmenterFichier(std::uint32_t nombre, const std::string& dossier, const Ingredient& ing,
                      Progression& progression) {
    progression.AjouterMessage("Segmentation du fichier sur disque.");
    try {
        return Segmenter(nombre, dossier, ing, progression);
    } catch (...) {
        EchecInconnu(progression);
        return false;
    }
}

bool ConcatenerSegments(std::uint32_t nombre, const std::string& dossier, const Ingredient& ing,
                        Progression& progression, const std::atomic<bool>& annule,
                        AssemblageEnCours* enCours) {
    progression.AjouterMessage("Concaténation des segments.");
    const std::string nomEntier = NomEntier(dossier, ing);
    const std::string nomAssemblage = NomAssemblage(dossier, ing.NomLocal);
    const bool avance = enCours && enCours->Actif();
    if (enCours) enCours->Finir();
    DescripteurFichier propre;
    DescripteurFichier& assemblage = avance ? enCours->Descripteur() : propre;
    const bool remplacable = EntierRemplacable(nomEntier);
    if (remplacable && !avance) propre = DescripteurFichier::CreerNeuf(nomAssemblage);
    if (!remplacable || !assemblage.EstOuvert()) {
        EchecEcriture(progression, 3);
        return false;
    }
    bool reussi = false;
    try {
        reussi = Assembler(assemblage, avance ? enCours->Places() : 0, nombre, dossier, ing,
                           progression, annule) &&
                 !annule.load() &&
                 VerifierAvantPublication(assemblage, nombre, dossier, ing, progression) &&
                 Publier(assemblage, nomAssemblage, dossier, nomEntier, progression);
    } catch (...) {
        EchecInconnu(progression);
    }
    if (reussi && avance) enCours->Publie();
    if (!reussi) {
        assemblage.Fermer();
        ::unlink(nomAssemblage.c_str());
    }
    return reussi;
}

bool EffacerSegments(std::uint32_t nombre, const std::string& dossier, const Ingredient& ing,
                     Progression& progression) {
    progression.AjouterMessage("Effacement des segments temporaires.");
    bool tous = true;
    for (std::uint32_t i = 0; i < nombre; ++i)
        tous = EffacerFichier(NomSegment(dossier, ing.NomLocal, i)) && tous;
    return tous;
}

} // namespace emporteur
