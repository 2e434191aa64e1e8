#pragma once
// L'outil de calcul des listes CRC sans fenêtre : quand « Calculer » est
// disponible, et ce que montrent ses deux zones de résultat.

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

namespace emporteur {

// « Calculer » est disponible quand une taille de segment non nulle a été lue et
// qu'un fichier est choisi.
class EtatModeAdmin {
  public:
    // Texte de la taille changé : lecture décimale (blancs de tête, un signe, puis
    // les chiffres jusqu'au premier autre caractère ; 0 sans chiffre ; "-5" devient
    // une très grande taille). Un texte vide ne change ni la taille ni sa validité.
    void TailleModifiee(const std::string& texte);
    // Fin du choix d'un fichier : le chemin choisi, ou rien si l'utilisateur renonce ;
    // le chemin précédent reste alors montré, mais ne vaut plus choix.
    void FichierChoisi(const std::optional<std::string>& chemin);

    bool CalculerDisponible() const { return tailleValide_ && fichierChoisi_; }
    std::uint32_t TailleSegment() const { return tailleSegment_; }
    const std::string& Chemin() const { return chemin_; }

  private:
    std::uint32_t tailleSegment_ = 0;
    bool tailleValide_ = false;
    bool fichierChoisi_ = false;
    std::string chemin_;
};

struct TextesCalculCrc {
    std::string Liste; // la liste CRC, ou la raison de l'échec
    std::string Total; // la taille du fichier ("%d"), vide en cas d'échec
    // Vide, ou pourquoi le téléchargement refuserait cette liste (la limite nommée).
    std::string Avertissement;
};

// « Calculer », à lancer hors du fil de l'interface : la même liste que
// `emporteur-cli crc`. `annulation`, vu entre deux morceaux lus, l'arrête (la
// fenêtre qui se ferme) ; les textes rendus ne servent alors plus.
// Vide si une liste de ce fichier et de cette taille de segment se télécharge.
std::string AvertissementPlan(std::uint32_t taille, std::uint32_t tailleSegment);

TextesCalculCrc CalculerTextesCrc(const std::string& chemin, std::uint32_t tailleSegment,
                                  const std::atomic<bool>* annulation = nullptr);

} // namespace emporteur
