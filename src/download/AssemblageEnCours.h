#pragma once
// Le fichier entier assemblé pendant le téléchargement, sous son nom réservé : chaque
// segment vérifié y est placé dès qu'il suit le précédent (depuis le tampon qui vient
// d'être vérifié, ou depuis son fichier s'il était déjà bon), et un fil à part le met
// sur le disque au fur et à mesure : l'assemblage final n'a presque plus rien à
// attendre, et le fil du réseau ne patiente jamais derrière le disque.
// Les fichiers de segments restent l'état de reprise : l'assemblage n'est qu'une
// avance, retirée à la destruction s'il n'a pas été publié. Un échec d'écriture
// l'abandonne sans bruit ; l'assemblage final refait alors tout depuis les segments.

#include "download/DescripteurFichier.h"
#include "download/PlanSegments.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace emporteur {

class AssemblageEnCours {
  public:
    AssemblageEnCours() = default;
    ~AssemblageEnCours();
    AssemblageEnCours(const AssemblageEnCours&) = delete;
    AssemblageEnCours& operator=(const AssemblageEnCours&) = delete;

    // Crée l'assemblage neuf sous `nom` (sous le verrou du fichier) ; faux : pas d'avance.
    bool Ouvrir(const std::string& nom, const PlanSegments& plan);

    // Segment `index` vérifié, en mémoire ou dans un fichier à partir de `position` ;
    // ignoré s'il ne suit pas le dernier placé.
    void Placer(std::uint32_t index, const char* octets, std::uint32_t longueur);
    void PlacerDepuis(std::uint32_t index, const DescripteurFichier& source,
                      std::uint64_t position);

    // Segments 0 … Places() − 1 déjà écrits à leur place.
    std::uint32_t Places() const { return actif_ ? places_ : 0; }
    bool Actif() const { return actif_; }
    // Arrête la mise sur le disque en fond ; à appeler avant de fermer ou renommer.
    void Finir();
    DescripteurFichier& Descripteur() { return fichier_; }
    // L'assemblage a été renommé : il n'est plus à retirer.
    void Publie() { publie_ = true; }

  private:
    void Abandonner();
    void Avancer(std::uint32_t index);
    void MettreSurDisque();

    std::string nom_;
    PlanSegments plan_{0, 0};
    DescripteurFichier fichier_;
    std::uint32_t places_ = 0;
    bool actif_ = false;
    bool publie_ = false;
    // Partagés avec le fil de mise sur le disque.
    std::mutex verrou_;
    std::condition_variable signal_;
    std::uint64_t aEcrire_ = 0; // octets placés depuis le début du fichier
    bool arret_ = false;
    std::thread fil_;
};

} // namespace emporteur
