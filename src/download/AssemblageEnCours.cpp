#include "download/AssemblageEnCours.h"

#include "download/EntreesDossier.h"

namespace emporteur {

AssemblageEnCours::~AssemblageEnCours() {
    Finir();
    if (!nom_.empty() && !publie_) {
        fichier_.Fermer();
        RetirerNom(nom_);
    }
}

bool AssemblageEnCours::Ouvrir(const std::string& nom, const PlanSegments& plan) {
    plan_ = plan;
    nom_ = nom;
    fichier_ = DescripteurFichier::CreerNeuf(nom_);
    actif_ = fichier_.EstOuvert();
    if (!actif_) {
        nom_.clear(); // ce qui occupe le nom n'est pas à nous
        return false;
    }
    try {
        fil_ = std::thread(&AssemblageEnCours::MettreSurDisque, this);
    } catch (...) {
        // Sans fil, l'avance reste utile : la synchronisation finale fera tout.
    }
    return true;
}

void AssemblageEnCours::Finir() {
    {
        std::lock_guard garde(verrou_);
        arret_ = true;
    }
    signal_.notify_one();
    if (fil_.joinable()) fil_.join();
}

// Lance l'écriture de ce qui a été placé depuis le dernier tour ; elle peut bloquer
// quand la file du disque est pleine (et sous Windows elle attend tout), d'où ce fil.
void AssemblageEnCours::MettreSurDisque() {
    std::uint64_t fait = 0;
    std::unique_lock garde(verrou_);
    for (;;) {
        signal_.wait(garde, [&] { return arret_ || aEcrire_ > fait; });
        if (arret_) return;
        const std::uint64_t jusqua = aEcrire_;
        garde.unlock();
        fichier_.LancerEcriture(fait, jusqua - fait);
        fait = jusqua;
        garde.lock();
    }
}

void AssemblageEnCours::Placer(std::uint32_t index, const char* octets, std::uint32_t longueur) {
    if (!actif_ || index != places_ || longueur != plan_.Longueur(index)) return;
    if (!fichier_.EcrireA(octets, longueur, plan_.Debut(index))) return Abandonner();
    Avancer(index);
}

void AssemblageEnCours::PlacerDepuis(std::uint32_t index, const DescripteurFichier& source,
                                     std::uint64_t position) {
    if (!actif_ || index != places_) return;
    const std::uint32_t longueur = plan_.Longueur(index);
    if (!source.EstOuvert() ||
        CopierPlage(source, position, fichier_, plan_.Debut(index), longueur) != longueur)
        return Abandonner();
    Avancer(index);
}

void AssemblageEnCours::Avancer(std::uint32_t index) {
    ++places_;
    {
        std::lock_guard garde(verrou_);
        aEcrire_ = plan_.Debut(index) + plan_.Longueur(index);
    }
    signal_.notify_one();
}

void AssemblageEnCours::Abandonner() {
    actif_ = false;
}

} // namespace emporteur
