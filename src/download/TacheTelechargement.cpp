#include "download/TacheTelechargement.h"

#include "download/CollisionNoms.h"
#include "download/DossierSegments.h"
#include "download/EspaceDisque.h"
#include "download/OctetsPresents.h"
#include "download/PlanSegments.h"
#include "download/VerrouDestination.h"
#include "foundation/CheminNatif.h"
#include "foundation/Fichiers.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <thread>

namespace emporteur {

namespace {
// Le chemin existe mais n'est pas un dossier (un fichier tapé comme destination).
bool EstAutreQuUnDossier(std::string chemin) {
    while (chemin.size() > 1 && chemin.back() == '/')
        chemin.pop_back();
    std::error_code erreur;
    const auto etat = std::filesystem::status(CheminNatif(chemin), erreur);
    return !chemin.empty() && !erreur && std::filesystem::exists(etat) &&
           !std::filesystem::is_directory(etat);
}

// Horloge monotone : un réglage de l'heure du système ne fausse pas l'estimation.
std::int64_t Maintenant() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::string Format(const char* modele, long long valeur) {
    char tampon[256];
    std::snprintf(tampon, sizeof tampon, modele, valeur);
    return tampon;
}

} // namespace

// L'interface vue du transport, sur le fil de travail : une tâche annulée se répond
// le refus elle-même, sans rien montrer.
class TacheTelechargement::InterfaceTravail : public InterfaceUtilisateur {
  public:
    InterfaceTravail(InterfaceUtilisateur& reelle, const std::atomic<bool>& annule)
        : reelle_(reelle), annule_(annule) {}

    Reponse BoiteMessage(const std::string& texte, const std::string& titre,
                         unsigned style) override {
        if (annule_.load()) return Reponse::Annuler;
        return reelle_.BoiteMessage(texte, titre, style);
    }
    bool DemanderIdentifiants(const std::string& adresse, bool mandataire, std::string& utilisateur,
                              std::string& motDePasse) override {
        return !annule_.load() &&
               reelle_.DemanderIdentifiants(adresse, mandataire, utilisateur, motDePasse);
    }
    bool Ouvrir(const std::string& cible) override { return reelle_.Ouvrir(cible); }
    bool Explorer(const std::string& dossier) override { return reelle_.Explorer(dossier); }
    bool ChoisirDossier(const std::string& titre, std::string& chemin) override {
        return reelle_.ChoisirDossier(titre, chemin);
    }
    bool MettreAuPremierPlan(const std::string& titre) override {
        return reelle_.MettreAuPremierPlan(titre);
    }
    void TerminerProcessus(int code) override { reelle_.TerminerProcessus(code); }

  private:
    InterfaceUtilisateur& reelle_;
    const std::atomic<bool>& annule_;
};

std::string TexteTempsRestant(std::int64_t ecoule, float pourcentage) {
    if (!((ecoule > 10 || pourcentage > 20.0f) && pourcentage > 0.0f)) return "-- min -- s";
    const auto duree = static_cast<std::int64_t>(static_cast<float>(ecoule) / pourcentage * 100.0f);
    const std::int64_t reste = duree - ecoule;
    char tampon[64];
    std::snprintf(tampon, sizeof tampon, "%d min %02d s", static_cast<int>(reste / 60),
                  static_cast<int>(reste % 60));
    return tampon;
}

TacheTelechargement::TacheTelechargement(EnsembleFichiers* ensemble, InterfaceUtilisateur* ui,
                                         int connexions)
    : ensemble_(ensemble), interface_(ui),
      interfaceTravail_(ui ? std::make_unique<InterfaceTravail>(*ui, annule_) : nullptr),
      connexions_(std::clamp(connexions, 1, kConnexionsMax)), requeteEspace_(EspaceDisponible),
      horloge_(Maintenant) {}

TacheTelechargement::~TacheTelechargement() = default;

int TacheTelechargement::ProcedureFil(TacheTelechargement* tache) {
    if (!tache) return 1;
    std::string cause;
    try {
        return tache->ExecuterTache();
    } catch (const std::exception& e) {
        cause = e.what();
    } catch (...) {
    }
    // La page ne voit que le journal : la fin inattendue y est écrite.
    try {
        tache->AjouterMessage("Échec de téléchargement : erreur interne" +
                              (cause.empty() ? std::string() : " (" + cause + ")") + ".");
    } catch (...) {
    }
    tache->progression_.Terminer();
    return 2;
}

void TacheTelechargement::AjouterMessage(const std::string& texte, bool finDeLigne) {
    progression_.AjouterMessage(texte, finDeLigne);
}

int TacheTelechargement::ExecuterTache() {
    std::unique_lock execution(progression_.VerrouExecution());
    int resultat = 0;
    AjouterMessage("Initialisation.");
    if (!ensemble_) {
        AjouterMessage("Erreur d'initialisation.");
        resultat = 1;
    } else if (EstAutreQuUnDossier(ensemble_->Dossier)) {
        // Sinon l'espace libre d'un fichier se lirait « erreur code 20 ».
        AjouterMessage("Échec de téléchargement : la destination « " + ensemble_->Dossier +
                       " » n'est pas un dossier.");
        resultat = 1;
    } else if (!DossierExiste(ensemble_->Dossier) && !CreerDossier(ensemble_->Dossier)) {
        AjouterMessage("Échec de téléchargement : impossible de créer le dossier de destination.");
        resultat = 1;
    } else {
        ensemble_->TailleTotale = 0;
        for (const auto& f : ensemble_->Fichiers)
            ensemble_->TailleTotale += static_cast<std::uint32_t>(f->Taille);
        const auto collision = ChercherCollisionNoms(*ensemble_);
        if (collision) AjouterMessage(MessageCollisionNoms(collision->first, collision->second));
        if (!collision) EffacerAssemblagesLaisses();
        if (collision || !VerifierEspaceDisque(ensemble_->TailleTotale)) {
            resultat = 1;
        } else {
            debut_ = horloge_();
            for (auto& f : ensemble_->Fichiers) {
                progression_.CommencerFichier();
                f->EstReussi = TelechargerFichier(*f);
                progression_.TerminerFichier();
                if (!f->EstReussi) resultat = 1;
                ensemble_->TailleFaite += static_cast<std::uint32_t>(f->Taille);
            }
        }
    }
    execution.unlock();
    progression_.Terminer();
    return resultat;
}

bool TacheTelechargement::VerifierEspaceDisque(std::uint64_t total) {
    std::uint64_t libre = 0;
    int erreur = 0;
    if (!requeteEspace_(ensemble_ ? ensemble_->Dossier : std::string(), libre, erreur)) {
        AjouterMessage(
            Format("Impossible de déterminer l'espace libre : erreur code %lld.", erreur));
        return false;
    }
    if (libre >= 2 * total) return true;
    // Seulement quand la place semble manquer : ce qui est déjà juste sur le disque
    // (segments, fichier entier) ne se télécharge pas deux fois ; le double reste
    // demandé pour ce qui manque.
    std::uint64_t presents = 0;
    for (const auto& f : ensemble_->Fichiers)
        presents += OctetsPresents(ensemble_->Dossier, *f);
    const std::uint64_t manque = total > presents ? total - presents : 0;
    if (libre < 2 * manque) {
        AjouterMessage("Échec de téléchargement : espace disque insuffisant.");
        return false;
    }
    return true;
}

bool TacheTelechargement::TelechargerFichier(Ingredient& ing) {
    OutilsFichier outils{ensemble_->Dossier,
                         ensemble_->Connexion,
                         progression_,
                         annule_,
                         interfaceTravail_.get(),
                         transferts_,
                         sommeil_,
                         [this] { return std::uniform_real_distribution<double>(0.0, 1.0)(alea_); },
                         [this](std::uint64_t faits, std::uint32_t recus, std::uint32_t longueur) {
                             Publier(faits, recus, longueur);
                         },
                         connexions_};
    TelechargementFichier fichier(ing, std::move(outils));
    const bool reussi = fichier.Executer();
    // Un fichier publié avant l'annulation est un vrai résultat, pas une interruption.
    if (annule_.load() && !fichier.Publie()) interrompue_ = true;
    ing.EmpreinteVerifiee = reussi && fichier.EmpreinteVerifiee();
    return reussi;
}

// Un assemblage interrompu occuperait la place que l'espace libre doit compter. Celui
// d'un fichier qu'une autre copie tient est le sien : il reste.
void TacheTelechargement::EffacerAssemblagesLaisses() {
    for (const auto& f : ensemble_->Fichiers) {
        VerrouDestination verrou;
        if (NomLocalAdmis(f->NomLocal) && verrou.Essayer(ensemble_->Dossier, f->NomLocal))
            DossierSegments(ensemble_->Dossier, PlanSegments(*f), f->NomLocal).EffacerAssemblage();
    }
}

// Pourcentage du segment en cours, puis du tout, octets et temps restants.
void TacheTelechargement::Publier(std::uint64_t faitsFichier, std::uint32_t recus,
                                  std::uint32_t longueur) {
    const auto segment = static_cast<std::int32_t>(
        longueur ? static_cast<float>(recus) / static_cast<float>(longueur) * 100.0f : 0.0f);
    const std::uint64_t total = ensemble_->TailleTotale;
    const std::uint64_t faits = ensemble_->TailleFaite + faitsFichier + recus;
    const float pourcentage =
        total ? static_cast<float>(faits) / static_cast<float>(total) * 100.0f : 0.0f;
    progression_.FixerPourcentages(segment, static_cast<std::int32_t>(pourcentage));
    progression_.FixerRestant(total > faits ? total - faits : 0,
                              TexteTempsRestant(horloge_() - debut_, pourcentage));
}

bool TacheTelechargement::Annuler() {
    annule_.store(true);
    // Un transfert bloqué sans octet n'appellerait jamais le rappel : on l'interrompt ici.
    transferts_.InterrompreTous();
    auto& execution = progression_.VerrouExecution();
    const auto limite = std::chrono::steady_clock::now() + attenteAnnulation_;
    for (;;) {
        // Le fil de travail peut attendre une réponse que ce fil, bloqué ici, ne
        // donnerait jamais : ses questions sont refusées avant chaque essai.
        if (interface_) interface_->RefuserQuestionsEnAttente();
        if (execution.try_lock()) break;
        if (std::chrono::steady_clock::now() >= limite) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    execution.unlock();
    return true;
}

} // namespace emporteur
