#include "download/TelechargementFichier.h"

#include "download/ConnexionsParalleles.h"
#include "download/Crc32.h"
#include "download/EmpreinteFichier.h"
#include "download/VerrouDestination.h"

#include <algorithm>
#include <utility>

namespace emporteur {

namespace {
constexpr const char* kReussi = "réussi.";
constexpr const char* kCorrompu = "Téléchargement corrompu : reprise du segment.";
constexpr const char* kAttenteAutreCopie = "En attente d'un autre téléchargement du même fichier…";
constexpr const char* kVerrouImpossible =
    "Échec de téléchargement : impossible de réserver le fichier contre une autre copie "
    "d'Emporteur (aucun fichier de verrou ne peut être créé).";
} // namespace

void TransfertsEnCours::Ajouter(TransfertHttp* transfert) {
    std::lock_guard garde(verrou_);
    ouverts_.push_back(transfert);
    if (interrompu_) transfert->Interrompre();
}

void TransfertsEnCours::Retirer(TransfertHttp* transfert) {
    std::lock_guard garde(verrou_);
    std::erase(ouverts_, transfert);
}

void TransfertsEnCours::InterrompreTous() {
    std::lock_guard garde(verrou_);
    interrompu_ = true;
    for (auto* t : ouverts_)
        t->Interrompre();
}

TelechargementFichier::TelechargementFichier(const Ingredient& ingredient, OutilsFichier outils)
    : ing_(ingredient), outils_(std::move(outils)), plan_(ingredient),
      magasin_(outils_.Dossier, plan_, ingredient.NomLocal),
      etats_(plan_.Nombre(), EtatSegment::Inconnu),
      cadre_{plan_,
             ing_.Crcs,
             magasin_,
             outils_.Journal,
             outils_.Annule,
             etats_,
             tampon_,
             [this](std::uint32_t recus, std::uint32_t longueur) {
                 outils_.Progres(faits_, recus, longueur);
             },
             [this](std::uint32_t, std::uint32_t longueur) { faits_ += longueur; },
             true,
             {},
             nullptr} {}

TelechargementFichier::~TelechargementFichier() {
    if (transfert_) outils_.Transferts.Retirer(transfert_.get());
}

void TelechargementFichier::Message(const std::string& texte, bool finDeLigne) {
    outils_.Journal.AjouterMessage(texte, finDeLigne);
}

void TelechargementFichier::Ligne(std::uint32_t index) {
    Message("Segment " + std::to_string(index + 1) + " de " + std::to_string(plan_.Nombre()) +
                "... ",
            false);
}

bool TelechargementFichier::PlanAccepte() {
    switch (plan_.Defaut(ing_.Crcs.size())) {
    case DefautPlan::TailleNulle:
        Message("Erreur code 1.");
        return false;
    case DefautPlan::NombreCrcs:
        Message("Erreur code 2.");
        return false;
    case DefautPlan::SegmentTropGrand:
        Message("Échec de téléchargement : taille de segment refusée (" +
                std::to_string(plan_.TailleSegment()) + " octets, 64 Mo au plus).");
        return false;
    case DefautPlan::Aucun:
        break;
    }
    if (NomLocalAdmis(ing_.NomLocal)) return true;
    const std::string& nom = ing_.NomLocal;
    Message("Échec de téléchargement : nom de fichier local refusé (« " +
            nom.substr(0, nom.find('\0')) + " »).");
    return false;
}

bool TelechargementFichier::Executer() {
    if (!PlanAccepte()) return false;
    // Tenu jusqu'à la fin de ce fichier : une autre copie sur le même fichier attend,
    // puis trouve le travail fait.
    VerrouDestination verrou;
    if (!verrou.Prendre(outils_.Dossier, ing_.NomLocal, outils_.Annule,
                        [this] { Message(kAttenteAutreCopie); })) {
        if (!verrou.Impossible()) return true; // annulé pendant l'attente
        Message(kVerrouImpossible);
        return false;
    }
    if (const std::string lien = magasin_.LienSymbolique(); !lien.empty()) {
        Message("Échec de téléchargement : « " + lien.substr(outils_.Dossier.size()) +
                " » est un lien symbolique ; rien n'est lu ni écrit à travers un lien dans "
                "le dossier de destination.");
        return false;
    }
    if (!magasin_.PreparerAssemblage()) {
        Message("Échec de téléchargement : impossible d'écrire dans le dossier de destination.");
        return false;
    }
    tampon_.resize(plan_.Longueur(0));
    if (!VerifierEntier()) return false;
    Message("Téléchargement...");
    magasin_.CommencerAssemblage();
    const bool ok = outils_.Connexions > 1 ? BoucleParallele() : Boucle();
    if (transfert_) outils_.Transferts.Retirer(transfert_.get());
    transfert_.reset();
    tampon_ = {};
    return ok && Terminer();
}

// Le fichier entier déjà là est lu une fois : chaque segment juste y reste tel quel.
// Les lignes du journal sont celles de l'ancien découpage en fichiers de segments.
bool TelechargementFichier::VerifierEntier() {
    const auto entier = magasin_.OuvrirEntier();
    if (entier == DossierSegments::Entier::Absent) return true;
    Message("Segmentation du fichier sur disque.");
    if (entier == DossierSegments::Entier::Illisible) {
        Message(MessageDisque({IssueDisque::Genre::Lecture, 1, 0}));
        return false;
    }
    const std::uint64_t taille = magasin_.TailleEntier();
    for (std::uint32_t i = 0; i < plan_.Nombre() && plan_.Debut(i) < taille; ++i) {
        if (outils_.Annule.load()) return true;
        Ligne(i);
        Message("");
        const auto longueur = static_cast<std::uint32_t>(
            std::min<std::uint64_t>(plan_.Longueur(i), taille - plan_.Debut(i)));
        if (!magasin_.LireDansEntier(i, tampon_.data(), longueur)) {
            Message(MessageDisque({IssueDisque::Genre::Lecture, 2, 0}));
            return false;
        }
        if (longueur == plan_.Longueur(i) && Crc32(0, tampon_.data(), longueur) == ing_.Crcs[i])
            etats_[i] = EtatSegment::DansEntier;
    }
    return true;
}

// Le crédit de reprise permet trois échecs (transfert ou corruption) sans réussite entre
// eux. Chaque suite de segments à recevoir est demandée en une requête, découpée à
// l'arrivée ; le journal se lit comme avec une requête par segment.
bool TelechargementFichier::Boucle() {
    bool ligneOuverte = false;
    for (std::uint32_t i = 0; i < plan_.Nombre();) {
        if (outils_.Annule.load()) return true;
        if (!ligneOuverte) Ligne(i);
        ligneOuverte = false;
        if (credit_ == 0) {
            Message("Échec de téléchargement : atteinte du nombre maximal d'erreurs de "
                    "transfert (3).");
            return false;
        }
        if (SegmentDejaBon(i)) {
            outils_.Journal.CompterSegment(i, false, plan_.Longueur(i));
            Message(kReussi);
            faits_ += plan_.Longueur(i);
            ++i;
            continue;
        }
        const Issue issue = Demander(i, ligneOuverte);
        if (issue != Issue::Continuer) return issue == Issue::Annulee;
    }
    return true;
}

// Segment déjà vérifié (dans le fichier entier, ou dans son fichier) ; placé dans
// l'assemblage en cours. Sinon il est à recevoir.
bool TelechargementFichier::SegmentDejaBon(std::uint32_t i) {
    switch (etats_[i]) {
    case EtatSegment::DansEntier:
        magasin_.PlacerVerifie(i, SourceSegment::Entier);
        return true;
    case EtatSegment::Fichier:
        magasin_.PlacerVerifie(i, SourceSegment::Fichier);
        return true;
    case EtatSegment::ARecevoir:
        return false;
    case EtatSegment::Inconnu:
        break;
    }
    if (SegmentFichierValide(cadre_, i)) {
        magasin_.Placer(i, tampon_.data(), plan_.Longueur(i));
        etats_[i] = EtatSegment::Fichier;
        return true;
    }
    etats_[i] = EtatSegment::ARecevoir;
    return false;
}

// Premier segment après `premier` qui n'est pas à recevoir, ou la fin du fichier. Ce
// qui est appris ici n'est pas relu quand la boucle y arrive.
std::uint32_t TelechargementFichier::FinSuite(std::uint32_t premier) {
    std::uint32_t j = premier + 1;
    for (; j < plan_.Nombre(); ++j) {
        if (etats_[j] == EtatSegment::Inconnu)
            etats_[j] =
                SegmentFichierValide(cadre_, j) ? EtatSegment::Fichier : EtatSegment::ARecevoir;
        if (etats_[j] != EtatSegment::ARecevoir) break;
    }
    return j;
}

// Plusieurs requêtes en vol ; le journal reste celui d'une connexion, dans l'ordre.
bool TelechargementFichier::BoucleParallele() {
    ConnexionsParalleles connexions(
        cadre_, std::clamp(outils_.Connexions, 1, kConnexionsMax),
        [this](std::string& message) { return NouveauTransfert(message); }, outils_.Transferts,
        outils_.Attendre, outils_.Alea);
    return connexions.Executer() != ConnexionsParalleles::Issue::Echec;
}

// Un transfert ouvert sur ce fichier ; nullptr avec le message d'échec.
std::unique_ptr<TransfertHttp> TelechargementFichier::NouveauTransfert(std::string& message) {
    auto transfert = std::make_unique<TransfertHttp>(outils_.Interface);
    if (!transfert->Ouvrir(ing_.Site, ing_.Repertoire, ing_.NomDistant, outils_.Connexion,
                           message, 1024))
        return nullptr;
    return transfert;
}

bool TelechargementFichier::OuvrirTransfert() {
    auto transfert = std::make_unique<TransfertHttp>(outils_.Interface, [this](std::uint32_t) {
        if (outils_.Annule.load() && transfert_) transfert_->Interrompre();
    });
    std::string message;
    const bool ouvert = transfert->Ouvrir(ing_.Site, ing_.Repertoire, ing_.NomDistant,
                                          outils_.Connexion, message, 1024);
    transfert_ = std::move(transfert);
    outils_.Transferts.Ajouter(transfert_.get());
    if (!ouvert) Message(message);
    return ouvert;
}

// Une requête pour les segments [i, fin) ; `i` devient le premier segment à traiter.
TelechargementFichier::Issue TelechargementFichier::Demander(std::uint32_t& i,
                                                             bool& ligneOuverte) {
    const std::uint32_t fin = FinSuite(i);
    if (!transfert_ && !OuvrirTransfert()) return Issue::Echec;
    std::string message;
    DemandeSuite demande(cadre_, i, fin);
    const IssueDemande issue = demande.Executer(*transfert_, message);
    if (outils_.Annule.load()) return Issue::Annulee; // segment interrompu : non jugé
    if (issue.Disque) return Issue::Echec;
    i = issue.Courant;
    return Conclure(issue, message, ligneOuverte);
}

TelechargementFichier::Issue TelechargementFichier::Conclure(const IssueDemande& issue,
                                                             const std::string& message,
                                                             bool& ligneOuverte) {
    if (issue.UnSucces) credit_ = 3;
    if (issue.Corrompue) {
        --credit_;
        return Issue::Continuer; // sans attendre
    }
    if (issue.Complete) {
        ligneOuverte = issue.LigneOuverte;
        return Issue::Continuer;
    }
    const ResultatTransfert& r = issue.Transfert;
    if (r.Code == CodeTransfert::Abandon) {
        Message(message);
        return Issue::Echec;
    }
    if (r.Code == CodeTransfert::Reprendre) {
        Message(message);
        --credit_;
        // Pas d'attente après l'échec qui épuise le crédit : le fichier échoue aussitôt.
        if (credit_ <= 0 || !AttendreApres(r)) return Issue::Continuer;
        const auto delai = DelaiReprise(3 - credit_, r.AttenteServeur, outils_.Alea());
        return outils_.Attendre(delai, outils_.Annule) ? Issue::Continuer : Issue::Annulee;
    }
    // Réponse propre mais courte : la suite reprend au premier segment incomplet ; une
    // réponse qui n'en complète aucun vaut un segment corrompu.
    if (issue.UnSucces) {
        ligneOuverte = issue.LigneOuverte;
        return Issue::Continuer;
    }
    Message(kCorrompu);
    --credit_;
    return Issue::Continuer;
}

bool TelechargementFichier::Terminer() {
    if (outils_.Annule.load()) return true;
    Message("Concaténation des segments.");
    IssueDisque r = magasin_.CommencerFin();
    for (std::uint32_t d = 0; r.Reussie() && d < plan_.Nombre(); ++d) {
        // Comme un assemblage qui échoue : l'assemblage commencé est retiré, les segments
        // restent, et le fichier ne compte pas comme fait.
        if (outils_.Annule.load()) return false;
        Ligne(d);
        Message("");
        r = magasin_.FinirSegment(d, etats_[d] == EtatSegment::DansEntier
                                         ? SourceSegment::Entier
                                         : SourceSegment::Fichier);
    }
    if (r.Reussie() && !ControleAvantPublication(magasin_.FichierFinal())) return false;
    if (r.Reussie()) r = magasin_.Publier();
    if (!r.Reussie()) {
        Message(MessageDisque(r));
        return false;
    }
    publie_ = true;
    if (outils_.Annule.load()) return true;
    Message("Effacement des segments temporaires.");
    if (!magasin_.EffacerSegments()) Message("Impossible d'effacer les fichiers temporaires.");
    return true;
}

// L'empreinte du catalogue, quand il en donne une. Les segments, vérifiés un à un,
// font ensemble un autre fichier : tous effacés, une nouvelle exécution les redemande.
bool TelechargementFichier::ControleAvantPublication(const DescripteurFichier& fichier) {
    if (ing_.Empreinte.empty()) return true;
    if (EmpreinteConforme(fichier, ing_.Empreinte)) {
        empreinteVerifiee_ = true;
        return true;
    }
    Message(kMessageEmpreinte);
    magasin_.EffacerSegments();
    return false;
}

} // namespace emporteur
