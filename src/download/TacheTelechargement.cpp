#include "download/TacheTelechargement.h"

#include "download/CollisionNoms.h"
#include "download/Crc32.h"
#include "download/DecoupageSuite.h"
#include "download/FichiersSegments.h"
#include "download/PlanSegments.h"
#include "download/VerrouDestination.h"
#include "foundation/Fichiers.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <exception>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <thread>

namespace emporteur {

namespace {
bool EspaceReel(const std::string& dossier, std::uint64_t& libre, int& erreur) {
    struct statvfs etat {};
    if (::statvfs(dossier.c_str(), &etat) != 0) {
        erreur = errno;
        return false;
    }
    libre = static_cast<std::uint64_t>(etat.f_bavail) * etat.f_frsize;
    return true;
}

// Le chemin existe mais n'est pas un dossier (un fichier tapé comme destination).
bool EstAutreQuUnDossier(std::string chemin) {
    while (chemin.size() > 1 && chemin.back() == '/')
        chemin.pop_back();
    struct stat st {};
    return !chemin.empty() && ::stat(chemin.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
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

constexpr const char* kReussi = "réussi.";
constexpr const char* kAttenteAutreCopie = "En attente d'un autre téléchargement du même fichier…";
constexpr const char* kVerrouImpossible =
    "Échec de téléchargement : impossible de réserver le fichier contre une autre copie "
    "d'Emporteur (aucun fichier de verrou ne peut être créé).";
} // namespace

// L'interface vue du transport, sur le fil de travail : une tâche annulée se répond
// le refus elle-même, sans rien montrer.
class TacheTelechargement::InterfaceTravail : public InterfaceUtilisateur {
  public:
    InterfaceTravail(InterfaceUtilisateur& reelle, const std::atomic<bool>& annule)
        : reelle_(reelle), annule_(annule) {}

    Reponse BoiteMessage(const std::string& texte, const std::string& titre,
                         unsigned style) override {
        if (annule_.load()) return Reponse::IDCANCEL;
        return reelle_.BoiteMessage(texte, titre, style);
    }
    bool DemanderIdentifiants(const std::string& adresse, bool mandataire, std::string& utilisateur,
                              std::string& motDePasse) override {
        return !annule_.load() &&
               reelle_.DemanderIdentifiants(adresse, mandataire, utilisateur, motDePasse);
    }
    void Ouvrir(const std::string& cible) override { reelle_.Ouvrir(cible); }
    void Explorer(const std::string& dossier) override { reelle_.Explorer(dossier); }
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

TacheTelechargement::TacheTelechargement(EnsembleFichiers* ensemble,
                                         InterfaceUtilisateur* interface)
    : ensemble_(ensemble), interface_(interface),
      interfaceTravail_(interface ? std::make_unique<InterfaceTravail>(*interface, annule_)
                                  : nullptr),
      requeteEspace_(EspaceReel), horloge_(Maintenant) {}

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
                f->EstReussi = TelechargerFichier(*f);
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
    if (libre < 2 * total) {
        AjouterMessage("Échec de téléchargement : espace disque insuffisant.");
        return false;
    }
    return true;
}

bool TacheTelechargement::NomLocalSur(const Ingredient& ing) {
    const std::string& nom = ing.NomLocal;
    const bool sur = NomLocalAdmis(nom);
    if (!sur)
        AjouterMessage("Échec de téléchargement : nom de fichier local refusé (« " +
                       nom.substr(0, nom.find('\0')) + " »).");
    return sur;
}

bool TacheTelechargement::TelechargerFichier(Ingredient& ing) {
    const PlanSegments plan(ing);
    if (plan.Taille() == 0 || plan.TailleSegment() == 0) {
        AjouterMessage("Erreur code 1.");
        return false;
    }
    const std::uint32_t nombre = plan.Nombre();
    if (ing.Crcs.size() != nombre) {
        AjouterMessage("Erreur code 2.");
        return false;
    }
    if (!NomLocalSur(ing)) return false;
    if (plan.TailleSegment() > kTailleSegmentMax) {
        AjouterMessage(Format("Échec de téléchargement : taille de segment refusée (%lld octets, "
                              "64 Mo au plus).",
                              plan.TailleSegment()));
        return false;
    }
    // Tenu jusqu'à la fin de ce fichier : une autre copie sur le même fichier attend,
    // puis trouve le travail fait.
    VerrouDestination verrou;
    if (!verrou.Prendre(ensemble_->Dossier, ing.NomLocal, annule_,
                        [this] { AjouterMessage(kAttenteAutreCopie); })) {
        if (!verrou.Impossible()) return true; // annulé pendant l'attente
        AjouterMessage(kVerrouImpossible);
        return false;
    }
    if (!PreparerAssemblage(ensemble_->Dossier, ing.NomLocal)) {
        AjouterMessage(
            "Échec de téléchargement : impossible d'écrire dans le dossier de destination.");
        return false;
    }
    // Recherche littérale : un nom local peut contenir "*" ou "?", qu'un motif prendrait
    // pour des jokers (un autre fichier ferait croire le fichier présent).
    if (EntreeExiste(ensemble_->Dossier + ing.NomLocal) &&
        !SegmenterFichier(nombre, ensemble_->Dossier, ing, progression_))
        return false;
    AjouterMessage("Téléchargement...");
    faitsFichier_ = 0;
    // Retiré à la sortie s'il n'est pas publié : annulation, échec, exception.
    AssemblageEnCours enCours;
    enCours.Ouvrir(ensemble_->Dossier, ing);
    enCours_ = &enCours;
    const bool ok = BoucleSegments(ing, nombre);
    OublierTransfert();
    const bool fini = ok && Terminer(ing, nombre);
    enCours_ = nullptr;
    return fini;
}

bool TacheTelechargement::SegmentValide(const Ingredient& ing, std::uint32_t i,
                                        std::uint32_t longueur) {
    return LireSegment(tampon_.data(), longueur, ensemble_->Dossier, ing, i) &&
           Crc32(0, tampon_.data(), longueur) == ing.Crcs[i];
}

bool TacheTelechargement::OuvrirTransfert(const Ingredient& ing) {
    auto transfert =
        std::make_unique<TransfertHttp>(interfaceTravail_.get(), [this](std::uint32_t recus) {
            if (annule_.load())
                transfert_->Interrompre();
            else
                SuivreReception(recus);
        });
    std::string message;
    const bool ouvert = transfert->Ouvrir(ing.Site, ing.Repertoire, ing.NomDistant,
                                          ensemble_->Connexion, message, 1024);
    {
        std::lock_guard verrou(verrouTransfert_);
        transfert_ = std::move(transfert);
        if (annule_.load()) transfert_->Interrompre();
    }
    if (!ouvert) AjouterMessage(message);
    return ouvert;
}

void TacheTelechargement::OublierTransfert() {
    std::lock_guard verrou(verrouTransfert_);
    transfert_.reset();
}

void TacheTelechargement::LigneSegment(std::uint32_t index, std::uint32_t nombre) {
    AjouterMessage(
        "Segment " + std::to_string(index + 1) + " de " + std::to_string(nombre) + "... ", false);
}

// Le crédit de reprise permet trois échecs (transfert ou corruption) sans réussite entre
// eux. Chaque suite de segments à recevoir est demandée en une requête, découpée à
// l'arrivée ; une requête qui s'arrête en route est suivie d'une autre pour le reste,
// si bien que le journal se lit comme avec une requête par segment.
bool TacheTelechargement::BoucleSegments(Ingredient& ing, std::uint32_t nombre) {
    const PlanSegments plan(ing);
    std::vector<EtatSegment> etats(nombre, EtatSegment::Inconnu);
    tampon_.resize(plan.Longueur(0));
    int credit = 3;
    bool requeteOuverte = false, ligneOuverte = false;
    for (std::uint32_t i = 0; i < nombre;) {
        if (annule_.load()) return true;
        if (!ligneOuverte) LigneSegment(i, nombre);
        ligneOuverte = false;
        if (credit == 0) {
            AjouterMessage("Échec de téléchargement : atteinte du nombre maximal d'erreurs de "
                           "transfert (3).");
            return false;
        }
        longueurSegment_ = plan.Longueur(i);
        if (SegmentDejaBon(ing, i, etats)) {
            AjouterMessage(kReussi);
            faitsFichier_ += longueurSegment_;
            ++i;
            continue;
        }
        const std::uint32_t fin = FinSuite(ing, plan, i, etats);
        if (!requeteOuverte && !OuvrirTransfert(ing)) return false;
        requeteOuverte = true;
        const IssueSuite issue = DemanderSuite(ing, plan, i, fin, credit, ligneOuverte);
        if (issue != IssueSuite::Continuer) return issue == IssueSuite::Annulee;
    }
    return true;
}

// Segment valide sur le disque (vu maintenant ou en cherchant la fin d'une suite) ;
// placé dans l'assemblage en cours. Sinon il est à recevoir.
bool TacheTelechargement::SegmentDejaBon(const Ingredient& ing, std::uint32_t i,
                                         std::vector<EtatSegment>& etats) {
    if (etats[i] == EtatSegment::Valide) {
        enCours_->PlacerFichier(i, NomSegment(ensemble_->Dossier, ing.NomLocal, i));
        return true;
    }
    if (etats[i] == EtatSegment::Inconnu && SegmentValide(ing, i, longueurSegment_)) {
        enCours_->Placer(i, tampon_.data(), longueurSegment_);
        etats[i] = EtatSegment::Valide;
        return true;
    }
    etats[i] = EtatSegment::ARecevoir;
    return false;
}

// Une requête pour les segments [i, fin) ; `i` devient le premier segment incomplet.
TacheTelechargement::IssueSuite TacheTelechargement::DemanderSuite(const Ingredient& ing,
                                                                   const PlanSegments& plan,
                                                                   std::uint32_t& i,
                                                                   std::uint32_t fin, int& credit,
                                                                   bool& ligneOuverte) {
    Suite suite;
    DecoupageSuite decoupage(plan, i, fin, tampon_,
                             [&](std::uint32_t k, const char* octets, std::uint32_t n) {
                                 return SegmentRecu(ing, k, octets, n, fin, suite, credit);
                             });
    std::string message;
    decoupage_ = &decoupage;
    const ResultatTransfert r = transfert_->LireSuite(
        static_cast<std::uint32_t>(plan.Debut(i)), static_cast<std::uint32_t>(decoupage.Longueur()),
        [&decoupage](const char* octets, std::size_t n) { return decoupage.Recevoir(octets, n); },
        message, 1024);
    decoupage_ = nullptr;
    if (annule_.load()) return IssueSuite::Annulee; // segment interrompu : non jugé
    if (suite.disque) return IssueSuite::Echec;
    i = decoupage.Courant();
    if (suite.corrompue || decoupage.Complete()) return IssueSuite::Continuer; // sans attendre
    if (r.Code == CodeTransfert::Abandon) {
        AjouterMessage(message);
        return IssueSuite::Echec;
    }
    if (r.Code == CodeTransfert::Reprendre) {
        AjouterMessage(message);
        --credit;
        return AttendreAvantReprise(r, credit) ? IssueSuite::Continuer : IssueSuite::Annulee;
    }
    // Réponse propre mais courte : la suite reprend au premier segment incomplet ; une
    // réponse qui n'en complète aucun vaut un segment corrompu.
    if (decoupage.Acceptes() > 0) {
        ligneOuverte = suite.ligneOuverte;
        return IssueSuite::Continuer;
    }
    AjouterMessage("Téléchargement corrompu : reprise du segment.");
    --credit;
    return IssueSuite::Continuer;
}

// Premier segment après `premier` qui n'est pas à recevoir : valide sur le disque, ou la
// fin du fichier. Ce qui est appris ici n'est pas relu quand la boucle y arrive.
std::uint32_t TacheTelechargement::FinSuite(const Ingredient& ing, const PlanSegments& plan,
                                            std::uint32_t premier,
                                            std::vector<EtatSegment>& etats) {
    std::uint32_t j = premier + 1;
    for (; j < etats.size(); ++j) {
        if (etats[j] == EtatSegment::Inconnu)
            etats[j] = SegmentValide(ing, j, plan.Longueur(j)) ? EtatSegment::Valide
                                                               : EtatSegment::ARecevoir;
        if (etats[j] == EtatSegment::Valide) break;
    }
    return j;
}

// Un segment complet de la suite : vérifié, écrit, noté ; faux arrête la requête.
bool TacheTelechargement::SegmentRecu(const Ingredient& ing, std::uint32_t k, const char* octets,
                                      std::uint32_t n, std::uint32_t fin, Suite& suite,
                                      int& credit) {
    suite.ligneOuverte = false;
    if (annule_.load()) return false;
    if (Crc32(0, octets, n) != ing.Crcs[k]) {
        AjouterMessage("Téléchargement corrompu : reprise du segment.");
        --credit;
        suite.corrompue = true;
        return false;
    }
    if (!EcrireSegment(octets, n, ensemble_->Dossier, ing, k)) {
        AjouterMessage(
            "Échec de téléchargement : impossible d'écrire sur le disque : erreur code 1.");
        suite.disque = true;
        return false;
    }
    enCours_->Placer(k, octets, n);
    longueurSegment_ = n;
    MettreAJourProgression(n); // le segment entier, avant qu'il compte parmi les faits
    faitsFichier_ += n;
    credit = 3;
    AjouterMessage(kReussi);
    if (k + 1 < fin) {
        LigneSegment(k + 1, static_cast<std::uint32_t>(ing.Crcs.size()));
        suite.ligneOuverte = true;
    }
    return true;
}

// Rappel du transport, après chaque morceau : la part reçue du segment en cours.
void TacheTelechargement::SuivreReception(std::uint32_t recus) {
    if (!decoupage_) {
        MettreAJourProgression(recus);
        return;
    }
    if (decoupage_->RecusCourant() == 0) return; // déjà publié à la fin du segment
    longueurSegment_ = decoupage_->LongueurCourant();
    MettreAJourProgression(decoupage_->RecusCourant());
}

bool TacheTelechargement::Terminer(const Ingredient& ing, std::uint32_t nombre) {
    tampon_.clear();
    tampon_.shrink_to_fit();
    if (annule_.load()) return true;
    if (!ConcatenerSegments(nombre, ensemble_->Dossier, ing, progression_, annule_, enCours_))
        return false;
    if (annule_.load()) return true;
    if (!EffacerSegments(nombre, ensemble_->Dossier, ing, progression_))
        AjouterMessage("Impossible d'effacer les fichiers temporaires.");
    return true;
}

// Un assemblage interrompu occuperait la place que l'espace libre doit compter. Celui
// d'un fichier qu'une autre copie tient est le sien : il reste.
void TacheTelechargement::EffacerAssemblagesLaisses() {
    for (const auto& f : ensemble_->Fichiers) {
        VerrouDestination verrou;
        if (NomLocalAdmis(f->NomLocal) && verrou.Essayer(ensemble_->Dossier, f->NomLocal))
            EffacerAssemblage(ensemble_->Dossier, f->NomLocal);
    }
}

// Faux si la tâche est annulée pendant l'attente. Pas d'attente après l'échec qui
// épuise le crédit : le fichier échoue aussitôt.
bool TacheTelechargement::AttendreAvantReprise(const ResultatTransfert& r, int credit) {
    if (credit <= 0 || !AttendreApres(r)) return true;
    const double alea = std::uniform_real_distribution<double>(0.0, 1.0)(alea_);
    return sommeil_(DelaiReprise(3 - credit, r.AttenteServeur, alea), annule_);
}

void TacheTelechargement::MettreAJourProgression(std::uint32_t recus) {
    const auto segment = static_cast<std::int32_t>(static_cast<float>(recus) /
                                                   static_cast<float>(longueurSegment_) * 100.0f);
    const std::uint64_t total = ensemble_->TailleTotale;
    const std::uint64_t faits = ensemble_->TailleFaite + faitsFichier_ + recus;
    const float pourcentage =
        total ? static_cast<float>(faits) / static_cast<float>(total) * 100.0f : 0.0f;
    progression_.FixerPourcentages(segment, static_cast<std::int32_t>(pourcentage));
    progression_.FixerRestant(total > faits ? total - faits : 0,
                              TexteTempsRestant(horloge_() - debut_, pourcentage));
}

bool TacheTelechargement::Annuler() {
    annule_.store(true);
    {
        // Un transfert bloqué sans octet n'appellerait jamais le rappel : on l'interrompt ici.
        std::lock_guard verrou(verrouTransfert_);
        if (transfert_) transfert_->Interrompre();
    }
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
