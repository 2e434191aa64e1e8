#include "download/ConnexionsParalleles.h"

#include "download/TelechargementFichier.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace emporteur {

namespace {
constexpr const char* kCorrompu = "Téléchargement corrompu : reprise du segment.";
constexpr const char* kMaximum =
    "Échec de téléchargement : atteinte du nombre maximal d'erreurs de transfert (3).";
constexpr auto kPas = std::chrono::milliseconds(100); // l'annulation est vue à ce pas
} // namespace

// Une connexion : son fil, son tampon d'un segment et son cadre, dont le journal est
// un brouillon (le journal du fichier est écrit dans l'ordre par Journaliser).
struct ConnexionsParalleles::Connexion {
    Connexion(const CadreDemandes& modele, std::uint32_t longueurSegment,
              const std::atomic<bool>& plagesVues)
        : tampon(longueurSegment), cadre{modele.Plan,   modele.Crcs,   modele.Magasin,
                                         brouillon,     modele.Annule, modele.Etats,
                                         tampon,        {},            {},
                                         false,         {},            &plagesVues} {}
    std::vector<char> tampon;
    Progression brouillon;
    CadreDemandes cadre;
    TransfertHttp* transfert = nullptr; // sous le verrou des connexions
    std::uint32_t premier = 0;          // début de la suite en cours
    bool enRequete = false;
    std::thread fil;
};

ConnexionsParalleles::ConnexionsParalleles(CadreDemandes& cadre, int connexions, Ouvrir ouvrir,
                                           TransfertsEnCours& transferts, Sommeil attendre,
                                           std::function<double()> alea)
    : cadre_(cadre), ouvrir_(std::move(ouvrir)), transferts_(transferts),
      attendre_(std::move(attendre)), alea_(std::move(alea)), permises_(connexions) {
    Decouper(connexions);
    for (int k = 0; k < connexions; ++k) {
        auto c = std::make_unique<Connexion>(cadre_, cadre_.Plan.Longueur(0), plagesVues_);
        c->cadre.Progres = [this, k](std::uint32_t recus, std::uint32_t longueur) {
            SuivreProgres(k, recus, longueur);
        };
        // Un segment gardé se dit au journal sans attendre la fin de sa requête.
        c->cadre.SegmentFait = [this](std::uint32_t index, std::uint32_t longueur) {
            std::lock_guard garde(verrou_);
            cadre_.SegmentFait(index, longueur);
            fini_[index] = true;
            signal_.notify_all();
        };
        c->cadre.PlageServie = [this] {
            if (plagesVues_.exchange(true)) return;
            std::lock_guard garde(verrou_);
            plages_ = true;
            signal_.notify_all();
        };
        connexions_.push_back(std::move(c));
    }
}

ConnexionsParalleles::~ConnexionsParalleles() {
    {
        std::lock_guard garde(verrou_);
        arret_ = true;
        for (auto& c : connexions_)
            if (c->transfert) c->transfert->Interrompre();
    }
    signal_.notify_all();
    for (auto& c : connexions_)
        if (c->fil.joinable()) c->fil.join();
}

// Les suites de segments à recevoir, coupées en parts d'au plus (à recevoir ÷ N)
// segments pour que chaque connexion en ait.
void ConnexionsParalleles::Decouper(int connexions) {
    const std::uint32_t nombre = cadre_.Plan.Nombre();
    fini_.assign(nombre, false);
    lignes_.assign(nombre, {});
    std::uint32_t manquants = 0;
    for (std::uint32_t i = 0; i < nombre; ++i) {
        auto& etat = cadre_.Etats[i];
        if (etat == EtatSegment::Inconnu)
            etat = SegmentFichierValide(cadre_, i) ? EtatSegment::Fichier : EtatSegment::ARecevoir;
        fini_[i] = etat != EtatSegment::ARecevoir;
        if (fini_[i]) cadre_.Journal.CompterSegment(i, false, cadre_.Plan.Longueur(i));
        manquants += !fini_[i];
    }
    const auto part = std::max<std::uint32_t>(
        1, (manquants + static_cast<std::uint32_t>(connexions) - 1) /
               static_cast<std::uint32_t>(connexions));
    for (std::uint32_t i = 0; i < nombre;) {
        if (fini_[i]) {
            ++i;
            continue;
        }
        std::uint32_t fin = i;
        while (fin < nombre && !fini_[fin] && fin - i < part)
            ++fin;
        file_.push_back({i, fin});
        i = fin;
    }
}

ConnexionsParalleles::Issue ConnexionsParalleles::Executer() {
    for (std::size_t k = 0; k < connexions_.size(); ++k)
        connexions_[k]->fil = std::thread(&ConnexionsParalleles::Travailler, this, static_cast<int>(k));
    return Journaliser();
}

void ConnexionsParalleles::Travailler(int k) {
    Connexion& c = *connexions_[k];
    Suite suite;
    std::unique_ptr<TransfertHttp> transfert;
    while (Prendre(k, suite)) {
        std::string message;
        if (!transfert) {
            transfert = ouvrir_(message);
            if (!transfert) {
                std::lock_guard garde(verrou_);
                Arreter(suite.first, message);
                break;
            }
            transferts_.Ajouter(transfert.get());
            std::lock_guard garde(verrou_);
            c.transfert = transfert.get();
            if (arret_) transfert->Interrompre();
        }
        DemandeSuite demande(c.cadre, suite.first, suite.second);
        const IssueDemande issue = demande.Executer(*transfert, message);
        const int echecs = Noter(k, suite, issue, message);
        if (echecs > 0) {
            std::lock_guard garde(verrouAttente_);
            attendre_(DelaiReprise(echecs, issue.Transfert.AttenteServeur, alea_()),
                      cadre_.Annule);
        }
    }
    std::lock_guard garde(verrou_);
    c.transfert = nullptr;
    if (transfert) transferts_.Retirer(transfert.get());
}

// Vrai avec une suite à demander ; faux quand cette connexion n'a plus rien à faire.
bool ConnexionsParalleles::Prendre(int k, Suite& suite) {
    std::unique_lock garde(verrou_);
    const auto pret = [&] {
        if (arret_ || cadre_.Annule.load() || k >= permises_) return true;
        if (file_.empty()) return enCours_ == 0;
        return k == 0 || plages_;
    };
    while (!pret())
        signal_.wait_for(garde, kPas);
    // Une suite déjà reçue par un corps entier n'est plus demandée.
    while (!file_.empty() && fini_[file_.front().first]) {
        if (++file_.front().first == file_.front().second) file_.pop_front();
    }
    if (arret_ || cadre_.Annule.load() || k >= permises_ || file_.empty()) {
        signal_.notify_all();
        return false;
    }
    suite = file_.front();
    file_.pop_front();
    ++enCours_;
    connexions_[k]->premier = suite.first;
    connexions_[k]->enRequete = true;
    return true;
}

// L'issue d'une requête, sous le verrou : segments gardés, lignes d'échec, crédit
// commun, reste de la suite remis en tête. Rend le nombre d'échecs de suite si la
// connexion doit attendre avant de reprendre, sinon 0.
int ConnexionsParalleles::Noter(int k, Suite suite, const IssueDemande& issue,
                                const std::string& message) {
    std::lock_guard garde(verrou_);
    --enCours_;
    connexions_[k]->enRequete = false;
    signal_.notify_all();
    // Un corps entier a pu garder des segments hors de la suite (seule connexion alors).
    const std::uint32_t fin = issue.CorpsEntier ? cadre_.Plan.Nombre() : suite.second;
    for (std::uint32_t i = suite.first; i < fin; ++i)
        if (cadre_.Etats[i] == EtatSegment::Fichier) fini_[i] = true;
    if (cadre_.Annule.load() || arret_) return 0;
    const auto statut = issue.Transfert.Statut;
    if (issue.CorpsEntier || statut == 503 || statut == 429) permises_ = 1;
    if (issue.UnSucces) credit_ = 3;
    const std::uint32_t c = issue.Courant;
    int attente = 0;
    if (issue.Disque) {
        Arreter(c, MessageDisque({IssueDisque::Genre::Ecriture, 1, 0}));
    } else if (issue.Corrompue) {
        lignes_[c].push_back(kCorrompu);
        --credit_;
    } else if (!issue.Complete && issue.Transfert.Code == CodeTransfert::Abandon) {
        Arreter(c, message);
    } else if (!issue.Complete && issue.Transfert.Code == CodeTransfert::Reprendre) {
        lignes_[c].push_back(message);
        --credit_;
        if (credit_ > 0 && AttendreApres(issue.Transfert)) attente = 3 - credit_;
    } else if (!issue.Complete && !issue.UnSucces) {
        lignes_[c].push_back(kCorrompu);
        --credit_;
    }
    if (!arret_ && credit_ <= 0) Arreter(c, kMaximum);
    if (arret_) return 0;
    // Le reste à recevoir revient en tête de la file.
    for (std::uint32_t i = fin; i-- > suite.first;) {
        if (fini_[i]) continue;
        std::uint32_t debut = i;
        while (debut > suite.first && !fini_[debut - 1])
            --debut;
        file_.push_front({debut, i + 1});
        i = debut;
    }
    return attente;
}

// Sous le verrou : plus aucune requête, celles en cours interrompues.
void ConnexionsParalleles::Arreter(std::uint32_t segment, const std::string& message) {
    if (arret_) return;
    arret_ = true;
    segmentEchec_ = segment;
    messageEchec_ = message;
    for (auto& c : connexions_)
        if (c->transfert) c->transfert->Interrompre();
    signal_.notify_all();
}

// Le pourcentage du segment suit la connexion dont la suite commence le plus bas.
void ConnexionsParalleles::SuivreProgres(int k, std::uint32_t recus, std::uint32_t longueur) {
    std::lock_guard garde(verrou_);
    for (const auto& c : connexions_)
        if (c->enRequete && c->premier < connexions_[k]->premier) return;
    cadre_.Progres(recus, longueur);
}

// Le journal, segment après segment : les lignes d'échec d'un segment dès qu'il est
// le plus bas en attente, puis « réussi. » quand il est gardé.
ConnexionsParalleles::Issue ConnexionsParalleles::Journaliser() {
    const std::uint32_t nombre = cadre_.Plan.Nombre();
    const auto ligne = [&](std::uint32_t i, const std::string& texte) {
        cadre_.Journal.AjouterMessage("Segment " + std::to_string(i + 1) + " de " +
                                      std::to_string(nombre) + "... " + texte);
    };
    for (std::uint32_t i = 0; i < nombre; ++i) {
        std::unique_lock garde(verrou_);
        for (;;) {
            auto lignes = std::move(lignes_[i]);
            lignes_[i].clear();
            const bool fini = fini_[i], arret = arret_, annule = cadre_.Annule.load();
            if (!lignes.empty() || fini || arret || annule) {
                garde.unlock();
                for (const auto& l : lignes)
                    ligne(i, l);
                if (annule) return Issue::Annulee;
                if (fini) break;
                if (arret) {
                    ligne(i, messageEchec_);
                    return Issue::Echec;
                }
                garde.lock();
                continue;
            }
            signal_.wait_for(garde, kPas);
        }
        cadre_.Magasin.PlacerVerifie(i, cadre_.Etats[i] == EtatSegment::DansEntier
                                            ? SourceSegment::Entier
                                            : SourceSegment::Fichier);
        ligne(i, "réussi.");
    }
    return Issue::Fini;
}

} // namespace emporteur
