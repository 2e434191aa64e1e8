#include "crctool/ListeCrc.h"

#include "download/Crc32.h"
#include "download/DescripteurFichier.h"
#include "download/PlanSegments.h"

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

namespace emporteur {

namespace {
// Le fichier est parcouru par morceaux : la mémoire ne dépend ni de sa taille
// ni de la taille de segment.
constexpr std::size_t kMorceau = 1u << 20;

enum class Lecture { Faite, Erreur, Courte, Annulee };

// CRC d'une plage, morceau par morceau ; l'annulation est vue avant chaque morceau.
Lecture CrcPlage(const DescripteurFichier& f, std::uint64_t debut, std::uint64_t longueur,
                 std::vector<unsigned char>& tampon, const std::atomic<bool>* annulation,
                 std::uint32_t& crc) {
    crc = 0;
    for (std::uint64_t fait = 0; fait < longueur;) {
        if (annulation && annulation->load()) return Lecture::Annulee;
        const auto n =
            static_cast<std::size_t>(std::min<std::uint64_t>(longueur - fait, tampon.size()));
        const std::int64_t lus = f.LireA(tampon.data(), n, debut + fait);
        if (lus < 0) return Lecture::Erreur;
        if (lus != static_cast<std::int64_t>(n)) return Lecture::Courte;
        crc = Crc32(crc, tampon.data(), n);
        fait += n;
    }
    return Lecture::Faite;
}

std::string RaisonLecture(Lecture lecture, const std::string& chemin, int erreurSysteme) {
    switch (lecture) {
    case Lecture::Erreur:
        return "Impossible de lire le fichier " + chemin + " : " +
               DescriptionErreur(erreurSysteme) + ".";
    case Lecture::Courte:
        return "Impossible de lire le fichier " + chemin +
               " jusqu'au bout : il a raccourci pendant le calcul.";
    default:
        return "Calcul interrompu.";
    }
}
} // namespace

bool CalculerListeCrc(const std::string& chemin, std::uint32_t tailleSegment, ListeCrc& liste,
                      std::string& erreur, const std::atomic<bool>* annulation) {
    if (tailleSegment == 0) {
        erreur = "Taille de segment invalide : elle doit être un nombre non nul.";
        return false;
    }
    const DescripteurFichier f = DescripteurFichier::OuvrirLecture(chemin);
    const std::int64_t taille = f.Taille();
    if (!f.EstOuvert() || taille < 0) {
        erreur = "Impossible d'ouvrir le fichier " + chemin + " : " +
                 DescriptionErreur(DerniereErreur()) + ".";
        return false;
    }
    if (static_cast<std::uint64_t>(taille) > std::numeric_limits<std::uint32_t>::max()) {
        erreur = "Fichier trop volumineux : les tailles du catalogue s'arrêtent sous 4 Gio.";
        return false;
    }
    // Un fichier plus court qu'un segment forme un seul segment : le CRC du tout.
    const PlanSegments plan(static_cast<std::uint32_t>(taille), tailleSegment);
    const std::uint32_t nombre = std::max<std::uint32_t>(plan.Nombre(), 1);
    std::vector<unsigned char> tampon(
        static_cast<std::size_t>(std::clamp<std::int64_t>(taille, 1, kMorceau)));
    std::string texte;
    for (std::uint32_t i = 0; i < nombre; ++i) {
        std::uint32_t crc = 0;
        const Lecture lecture =
            CrcPlage(f, plan.Debut(i), plan.Longueur(i), tampon, annulation, crc);
        if (lecture != Lecture::Faite) {
            erreur = RaisonLecture(lecture, chemin, DerniereErreur());
            return false;
        }
        texte += (i == 0 ? "" : " ") + std::to_string(crc);
    }
    liste.Texte = std::move(texte);
    liste.Taille = static_cast<std::uint32_t>(taille);
    return true;
}

std::string TexteTaille(std::uint32_t taille) {
    return std::to_string(static_cast<std::int32_t>(taille));
}

} // namespace emporteur
