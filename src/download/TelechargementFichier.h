#pragma once
// Le téléchargement d'un fichier de l'ensemble : son plan, son verrou, son magasin de
// segments, l'état de chaque segment, son crédit de reprise et ses requêtes. Le
// fichier entier déjà présent est vérifié segment par segment en le lisant ; seuls
// les segments manquants ou mauvais sont demandés, puis écrits à leur place sans
// récrire les bons.

#include "commun/Ingredient.h"
#include "commun/ParametresConnexion.h"
#include "download/AttenteReprise.h"
#include "download/DemandeSuite.h"
#include "download/DossierSegments.h"
#include "download/PlanSegments.h"
#include "download/Progression.h"
#include "foundation/InterfaceUtilisateur.h"
#include "http/TransfertHttp.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace emporteur {

// Les transferts ouverts d'une exécution, que l'annulation interrompt depuis le fil
// de l'interface (un transfert bloqué sans octet n'appellerait jamais son rappel).
class TransfertsEnCours {
  public:
    void Ajouter(TransfertHttp* transfert);
    void Retirer(TransfertHttp* transfert);
    // Interrompt ceux qui sont ouverts, et ceux qui s'ajouteront ensuite.
    void InterrompreTous();

  private:
    std::mutex verrou_;
    std::vector<TransfertHttp*> ouverts_;
    bool interrompu_ = false;
};

// Connexions au plus par fichier (réglage « connexions », 1 par défaut).
inline constexpr int kConnexionsMax = 8;

// Ce que la tâche prête à chaque fichier.
struct OutilsFichier {
    std::string Dossier; // finit par "/"
    ParametresConnexion Connexion;
    Progression& Journal;
    const std::atomic<bool>& Annule;
    InterfaceUtilisateur* Interface; // celle que voit le transport, ou nullptr
    TransfertsEnCours& Transferts;
    Sommeil Attendre;
    std::function<double()> Alea; // dans [0, 1]
    // Octets faits du fichier, octets reçus du segment en cours et sa longueur.
    std::function<void(std::uint64_t faits, std::uint32_t recus, std::uint32_t longueur)> Progres;
    int Connexions = 1; // requêtes en vol au plus pour ce fichier, 1 … 8
};

class TelechargementFichier {
  public:
    TelechargementFichier(const Ingredient& ingredient, OutilsFichier outils);
    ~TelechargementFichier();
    TelechargementFichier(const TelechargementFichier&) = delete;
    TelechargementFichier& operator=(const TelechargementFichier&) = delete;

    // Vrai si le fichier est complet sous son nom, ou si l'exécution a été annulée.
    bool Executer();
    // Le fichier publié a eu, dans cette exécution, l'empreinte que le catalogue donne.
    bool EmpreinteVerifiee() const { return empreinteVerifiee_; }
    // Le fichier a été publié complet sous son nom dans cette exécution.
    bool Publie() const { return publie_; }

  private:
    enum class Issue { Continuer, Echec, Annulee };

    bool PlanAccepte();
    bool VerifierEntier();
    bool Boucle();
    bool BoucleParallele();
    std::unique_ptr<TransfertHttp> NouveauTransfert(std::string& message);
    bool SegmentDejaBon(std::uint32_t index);
    std::uint32_t FinSuite(std::uint32_t premier);
    Issue Demander(std::uint32_t& index, bool& ligneOuverte);
    Issue Conclure(const IssueDemande& issue, const std::string& message, bool& ligneOuverte);
    bool OuvrirTransfert();
    bool Terminer();
    // Dernier contrôle du fichier tel qu'il sera publié sous son nom final (juste
    // avant le renommage, ou avant l'effacement des segments d'une réparation) ;
    // faux le refuse (le journal dit pourquoi).
    bool ControleAvantPublication(const DescripteurFichier& fichier);
    bool empreinteVerifiee_ = false;
    bool publie_ = false;
    void Ligne(std::uint32_t index);
    void Message(const std::string& texte, bool finDeLigne = true);

    const Ingredient& ing_;
    OutilsFichier outils_;
    PlanSegments plan_;
    DossierSegments magasin_;
    std::vector<EtatSegment> etats_;
    std::vector<char> tampon_;
    int credit_ = 3;
    std::uint64_t faits_ = 0;
    std::unique_ptr<TransfertHttp> transfert_;
    CadreDemandes cadre_;
};

} // namespace emporteur
