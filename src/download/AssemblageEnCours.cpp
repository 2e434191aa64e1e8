#include "download/AssemblageEnCours.h"

#include "download/FichiersSegments.h"

#include <unistd.h>

namespace emporteur {

AssemblageEnCours::~AssemblageEnCours() {
    if (!nom_.empty() && !publie_) {
        fichier_.Fermer();
        ::unlink(nom_.c_str());
    }
}

bool AssemblageEnCours::Ouvrir(const std::string& dossier, const Ingredient& ing) {
    plan_ = PlanSegments(ing);
    nom_ = NomAssemblage(dossier, ing.NomLocal);
    fichier_ = DescripteurFichier::CreerNeuf(nom_);
    actif_ = fichier_.EstOuvert();
    if (!actif_) nom_.clear(); // ce qui occupe le nom n'est pas à nous
    return actif_;
}

void AssemblageEnCours::Placer(std::uint32_t index, const char* octets, std::uint32_t longueur) {
    if (!actif_ || index != places_ || longueur != plan_.Longueur(index)) return;
    if (!fichier_.EcrireA(octets, longueur, plan_.Debut(index))) return Abandonner();
    ++places_;
}

void AssemblageEnCours::PlacerFichier(std::uint32_t index, const std::string& nomSegment) {
    if (!actif_ || index != places_) return;
    const DescripteurFichier segment = DescripteurFichier::OuvrirLecture(nomSegment);
    const std::uint32_t longueur = plan_.Longueur(index);
    if (!segment.EstOuvert() ||
        CopierPlage(segment, 0, fichier_, plan_.Debut(index), longueur) != longueur)
        return Abandonner();
    ++places_;
}

void AssemblageEnCours::Abandonner() {
    actif_ = false;
}

} // namespace emporteur
