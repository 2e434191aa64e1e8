#pragma once
// La tâche de téléchargement : tous les fichiers d'un ensemble, segment par segment,
// sur un fil de travail ; les segments vérifiés restent sur le disque, si bien qu'une
// reprise ne redemande que les segments manquants ou mauvais.

#include "commun/EnsembleFichiers.h"
#include "download/AssemblageEnCours.h"
#include "download/AttenteReprise.h"
#include "download/DecoupageSuite.h"
#include "download/PlanSegments.h"
#include "download/Progression.h"
#include "foundation/InterfaceUtilisateur.h"
#include "http/TransfertHttp.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <vector>

namespace emporteur {

// Taille de segment au-delà de laquelle un fichier est refusé : un segment est tenu
// entier en mémoire.
inline constexpr std::uint32_t kTailleSegmentMax = 64u * 1024 * 1024;

class TacheTelechargement {
  public:
    // Espace disponible pour l'utilisateur sur le volume d'un dossier ; faux et
    // `erreur` (errno) si la requête échoue.
    using RequeteEspace =
        std::function<bool(const std::string& dossier, std::uint64_t& libre, int& erreur)>;
    // Secondes d'une horloge monotone : seul l'écart entre deux lectures compte.
    using Horloge = std::function<std::int64_t()>;

    // `ensemble` peut être nul (la tâche échoue alors à l'initialisation) ; non possédé.
    explicit TacheTelechargement(EnsembleFichiers* ensemble,
                                 InterfaceUtilisateur* interface = nullptr);
    virtual ~TacheTelechargement();
    TacheTelechargement(const TacheTelechargement&) = delete;
    TacheTelechargement& operator=(const TacheTelechargement&) = delete;

    // Procédure du fil : 1 sans tâche, 2 si quelque chose s'échappe (noté au journal),
    // sinon ExecuterTache.
    static int ProcedureFil(TacheTelechargement* tache);
    // 0 si chaque fichier a réussi, 1 sinon.
    int ExecuterTache();
    bool TelechargerFichier(Ingredient& ingredient);
    bool VerifierEspaceDisque(std::uint64_t total);
    void MettreAJourProgression(std::uint32_t recus);
    void AjouterMessage(const std::string& texte, bool finDeLigne = true);

    // Fil de l'interface : demande l'arrêt et attend la fin de l'exécution, 10 s au plus,
    // en refusant les questions que le fil de travail pose entre-temps
    // (InterfaceUtilisateur::RefuserQuestionsEnAttente). Vrai si aucune exécution n'est
    // en cours au retour (finie, ou pas encore commencée : elle s'arrêtera d'elle-même).
    // Faux après 10 s : le fil de travail tourne encore ; la tâche ne doit pas être
    // détruite avant que son fil soit joint (Etat().EstFini() le dit sans bloquer).
    bool Annuler();
    bool EstAnnulee() const { return annule_.load(); }

    Progression& Etat() { return progression_; }
    const Progression& Etat() const { return progression_; }

    void RemplacerRequeteEspace(RequeteEspace requete) { requeteEspace_ = std::move(requete); }
    void RemplacerHorloge(Horloge horloge) { horloge_ = std::move(horloge); }
    // Attente entre deux essais d'un segment (pour les essais) ; réelle par défaut.
    void RemplacerSommeil(Sommeil sommeil) { sommeil_ = std::move(sommeil); }
    // Temps d'attente de Annuler (pour les essais) ; 10 s par défaut.
    void FixerAttenteAnnulation(std::chrono::milliseconds limite) { attenteAnnulation_ = limite; }

  private:
    class InterfaceTravail;
    // Ce qu'une requête pour une suite de segments a laissé.
    struct Suite {
        bool ligneOuverte = false; // "Segment %d de %d... " écrit pour le segment courant
        bool corrompue = false;
        bool disque = false; // écriture d'un segment impossible
    };
    // Ce que l'on sait d'un segment pendant la boucle.
    enum class EtatSegment : unsigned char { Inconnu, Valide, ARecevoir };
    enum class IssueSuite { Continuer, Echec, Annulee };

    bool NomLocalSur(const Ingredient& ingredient);
    bool SegmentValide(const Ingredient& ingredient, std::uint32_t index, std::uint32_t longueur);
    bool OuvrirTransfert(const Ingredient& ingredient);
    void OublierTransfert();
    bool BoucleSegments(Ingredient& ingredient, std::uint32_t nombre);
    bool SegmentDejaBon(const Ingredient& ingredient, std::uint32_t index,
                        std::vector<EtatSegment>& etats);
    IssueSuite DemanderSuite(const Ingredient& ingredient, const PlanSegments& plan,
                             std::uint32_t& premier, std::uint32_t fin, int& credit,
                             bool& ligneOuverte);
    std::uint32_t FinSuite(const Ingredient& ingredient, const PlanSegments& plan,
                           std::uint32_t premier, std::vector<EtatSegment>& etats);
    bool SegmentRecu(const Ingredient& ingredient, std::uint32_t index, const char* octets,
                     std::uint32_t longueur, std::uint32_t fin, Suite& suite, int& credit);
    void LigneSegment(std::uint32_t index, std::uint32_t nombre);
    void SuivreReception(std::uint32_t recus);
    bool Terminer(Ingredient& ingredient, std::uint32_t nombre);
    void EffacerAssemblagesLaisses();
    bool AttendreAvantReprise(const ResultatTransfert& r, int credit);

    EnsembleFichiers* ensemble_;
    InterfaceUtilisateur* interface_;
    std::unique_ptr<InterfaceTravail> interfaceTravail_; // celle que voit le transport
    Progression progression_;
    std::atomic<bool> annule_{false};
    std::uint32_t longueurSegment_ = 0;
    std::uint32_t faitsFichier_ = 0;
    std::int64_t debut_ = 0;
    std::vector<char> tampon_;
    const DecoupageSuite* decoupage_ = nullptr; // la suite en cours de réception
    AssemblageEnCours* enCours_ = nullptr;      // celui du fichier en cours
    std::mutex verrouTransfert_; // Annuler interrompt le transfert depuis l'autre fil
    std::unique_ptr<TransfertHttp> transfert_;
    RequeteEspace requeteEspace_;
    Horloge horloge_;
    Sommeil sommeil_ = SommeilAnnulable;
    std::minstd_rand alea_{std::random_device{}()};
    std::chrono::milliseconds attenteAnnulation_{10000};
};

// Texte du temps restant : "%d min %02d s", ou "-- min -- s" sans estimation possible.
std::string TexteTempsRestant(std::int64_t ecoule, float pourcentage);

} // namespace emporteur
