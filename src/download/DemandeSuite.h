#pragma once
// Une requête pour une suite de segments à recevoir [premier, fin) d'un fichier :
// découpée à l'arrivée, chaque segment vérifié par son CRC dès son dernier octet,
// écrit dans son fichier de segment, noté au journal. Un serveur qui ignore les
// plages (200) fait prendre de ce seul corps chaque segment encore à recevoir du
// fichier, vérifié au passage ; le journal les dira quand la boucle y arrivera.

#include "download/DecoupageSuite.h"
#include "download/DossierSegments.h"
#include "download/Progression.h"
#include "http/TransfertHttp.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

namespace emporteur {

// Ce que l'on sait d'un segment pendant la boucle d'un fichier.
enum class EtatSegment : unsigned char { Inconnu, DansEntier, Fichier, ARecevoir };

// Ce que les demandes d'un fichier partagent, prêté par le fichier.
struct CadreDemandes {
    const PlanSegments& Plan;
    const std::vector<std::uint32_t>& Crcs;
    DossierSegments& Magasin;
    Progression& Journal;
    const std::atomic<bool>& Annule;
    std::vector<EtatSegment>& Etats;
    std::vector<char>& Tampon; // un segment, partagé avec les vérifications
    // Octets reçus du segment en cours et sa longueur ; segment entier vérifié.
    std::function<void(std::uint32_t recus, std::uint32_t longueur)> Progres;
    std::function<void(std::uint32_t index, std::uint32_t longueur)> SegmentFait;
    // Plusieurs connexions : les segments reçus ne vont pas à l'assemblage en cours
    // (placé dans l'ordre par le fichier), et le premier octet d'une réponse à plage
    // est signalé ici.
    bool PlacerEnCours = true;
    std::function<void()> PlageServie;
    // Vrai : un 200 n'est pas pris en entier (d'autres connexions reçoivent déjà).
    const std::atomic<bool>* RefuserCorpsEntier = nullptr;
};

// Issue d'une requête, sans le message du transport.
struct IssueDemande {
    ResultatTransfert Transfert;
    std::uint32_t Courant = 0;  // premier segment à traiter ensuite
    bool LigneOuverte = false;  // "Segment Courant de n... " déjà écrit
    bool UnSucces = false;      // au moins un segment vérifié : le crédit revient à 3
    bool Corrompue = false;     // un segment faux a arrêté la requête
    bool Disque = false;        // un segment n'a pu être écrit (journalisé)
    bool Complete = false;      // tout ce qui était demandé est arrivé
    bool CorpsEntier = false;   // le serveur a ignoré la plage
};

// Vrai si le fichier du segment est là et vérifié (le tampon du cadre sert).
bool SegmentFichierValide(CadreDemandes& cadre, std::uint32_t index);

class DemandeSuite {
  public:
    DemandeSuite(CadreDemandes& cadre, std::uint32_t premier, std::uint32_t fin);

    // La requête sur `transfert` ; `message` reçoit le texte du transport.
    IssueDemande Executer(TransfertHttp& transfert, std::string& message);

  private:
    bool SegmentRecu(std::uint32_t index, const char* octets, std::uint32_t longueur);
    void PasserAuCorpsEntier();
    bool Voulu(std::uint32_t index);

    CadreDemandes& cadre_;
    std::uint32_t premier_, fin_;
    DecoupageSuite decoupage_;
    IssueDemande issue_;
    TransfertHttp* transfert_ = nullptr; // celui de la requête en cours
};

} // namespace emporteur
