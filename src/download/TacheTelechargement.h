#pragma once
// La tâche de téléchargement : tous les fichiers d'un ensemble, segment par segment,
// sur un fil de travail ; les segments vérifiés restent sur le disque, si bien qu'une
// reprise ne redemande que les segments manquants ou mauvais.

#include "commun/EnsembleFichiers.h"
#include "download/AttenteReprise.h"
#include "download/Progression.h"
#include "download/TelechargementFichier.h"
#include "foundation/InterfaceUtilisateur.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>

namespace emporteur {

class TacheTelechargement {
  public:
    // Espace disponible pour l'utilisateur sur le volume d'un dossier ; faux et
    // `erreur` (code du système) si la requête échoue.
    using RequeteEspace =
        std::function<bool(const std::string& dossier, std::uint64_t& libre, int& erreur)>;
    // Secondes d'une horloge monotone : seul l'écart entre deux lectures compte.
    using Horloge = std::function<std::int64_t()>;

    // `ensemble` peut être nul (la tâche échoue alors à l'initialisation) ; non possédé.
    // `connexions` : requêtes en vol au plus par fichier, ramené à 1 … 8.
    explicit TacheTelechargement(EnsembleFichiers* ensemble, InterfaceUtilisateur* ui = nullptr,
                                 int connexions = 1);
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
    void AjouterMessage(const std::string& texte, bool finDeLigne = true);

    // Fil de l'interface : demande l'arrêt et attend la fin de l'exécution, 10 s au plus,
    // en refusant les questions que le fil de travail pose entre-temps
    // (InterfaceUtilisateur::RefuserQuestionsEnAttente). Vrai si aucune exécution n'est
    // en cours au retour (finie, ou pas encore commencée : elle s'arrêtera d'elle-même).
    // Faux après 10 s : le fil de travail tourne encore ; la tâche ne doit pas être
    // détruite avant que son fil soit joint (Etat().EstFini() le dit sans bloquer).
    bool Annuler();
    bool EstAnnulee() const { return annule_.load(); }
    // L'annulation a laissé au moins un fichier sans le publier ; faux si elle est
    // arrivée après que chaque fichier a eu son vrai résultat.
    bool EstInterrompue() const { return interrompue_.load(); }

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

    void Publier(std::uint64_t faitsFichier, std::uint32_t recus, std::uint32_t longueur);
    void EffacerAssemblagesLaisses();

    EnsembleFichiers* ensemble_;
    InterfaceUtilisateur* interface_;
    std::unique_ptr<InterfaceTravail> interfaceTravail_; // celle que voit le transport
    Progression progression_;
    std::atomic<bool> annule_{false};
    std::atomic<bool> interrompue_{false};
    int connexions_;
    std::int64_t debut_ = 0;
    TransfertsEnCours transferts_;
    RequeteEspace requeteEspace_;
    Horloge horloge_;
    Sommeil sommeil_ = SommeilAnnulable;
    std::minstd_rand alea_{std::random_device{}()};
    std::chrono::milliseconds attenteAnnulation_{10000};
};

// Texte du temps restant : "%d min %02d s", ou "-- min -- s" sans estimation possible.
std::string TexteTempsRestant(std::int64_t ecoule, float pourcentage);

} // namespace emporteur
