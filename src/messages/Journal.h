#pragma once
// Journal des messages répondus en mode d'installation silencieuse :
// Emporteur.log dans $XDG_DATA_HOME/Mervane/Orthalis/, ou dans Mervane\Orthalis sous
// %APPDATA% pour Windows ; lignes seulement ajoutées.

#include "foundation/InterfaceUtilisateur.h"
#include "messages/FichierJournal.h"

#include <memory>
#include <string>

namespace emporteur {

class Journal {
  public:
    Journal() = default;
    ~Journal();
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    // Ajoute une ligne : horodatage et étiquette si le style porte une icône,
    // "\tréponse=", le mot de la réponse, le texte entre guillemets (CR → tabulation), CR LF.
    // Un fichier impossible à ouvrir fait taire le journal pour toujours, sans message.
    void EcrireLigne(unsigned style, const std::string& texte, Reponse identifiant);

    // Chemin du fichier, tel qu'il sera (ou a été) ouvert.
    static std::string CheminFichier();

    // Le journal du processus.
    static Journal& DuProcessus();

  private:
    bool Ouvrir();
    FichierJournal fichier_;
    bool tente_ = false;
};

// La ligne telle qu'elle est écrite, sans l'horodatage éventuel (pour les tests).
std::string CorpsLigneJournal(unsigned style, const std::string& texte, Reponse identifiant);
// Horodatage local "20aa/mm/jj\thh:mm:ss.mmmm\t".
std::string Horodatage();

} // namespace emporteur
