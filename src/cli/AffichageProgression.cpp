#include "cli/AffichageProgression.h"

#include "cli/Console.h"

namespace emporteur::cli {

namespace {
using namespace std::chrono_literals;
constexpr auto kIntervalleTerminal = 100ms; // 10 dessins par seconde au plus
constexpr auto kIntervalleSimple = 10s;
constexpr auto kFenetreDebit = 5s;
} // namespace

AffichageProgression::AffichageProgression(std::FILE* sortie, bool terminal, bool discret,
                                           std::uint64_t total)
    : sortie_(sortie), terminal_(terminal), discret_(discret), total_(total) {}

// Lignes complètes apparues depuis la dernière fois (CR LF → LF). La ligne de
// progression est d'abord effacée : le journal s'écrit au-dessus d'elle.
void AffichageProgression::EcrireLignes(const std::string& journal, bool jusquAuBout) {
    std::size_t fin = journal.size();
    if (!jusquAuBout) {
        const auto crlf = journal.rfind("\r\n");
        if (crlf == std::string::npos) return;
        fin = crlf + 2;
    }
    if (fin <= deja_) return;
    if (ligneAffichee_) {
        std::fputs("\r\033[K", sortie_);
        ligneAffichee_ = false;
    }
    for (std::size_t i = deja_; i < fin; ++i)
        if (journal[i] != '\r') std::fputc(journal[i], sortie_);
    if (jusquAuBout && journal[fin - 1] != '\n') std::fputc('\n', sortie_);
    deja_ = fin;
}

// Débit sur les dernières secondes, des seuls octets reçus : les segments trouvés
// sur le disque ne passent pas par le réseau.
EtatLigne AffichageProgression::Etat(const Progression::Releve& r) {
    const auto maintenant = Horloge::now();
    EtatLigne e;
    e.pourcentage = r.PourcentageTotal;
    e.total = total_;
    e.faits = total_ > r.OctetsRestants ? total_ - r.OctetsRestants : 0;
    e.ecoule = std::chrono::duration<double>(maintenant - debut_).count();
    const std::uint64_t recus = e.faits > r.OctetsPresents ? e.faits - r.OctetsPresents : 0;
    fenetre_.emplace_back(maintenant, recus);
    while (fenetre_.size() > 2 && maintenant - fenetre_.front().first > kFenetreDebit)
        fenetre_.pop_front();
    const double duree = std::chrono::duration<double>(maintenant - fenetre_.front().first).count();
    if (duree >= 1.0 && recus >= fenetre_.front().second) {
        e.debit = static_cast<double>(recus - fenetre_.front().second) / duree;
        if (*e.debit > 0) e.restant = static_cast<double>(total_ - e.faits) / *e.debit;
    }
    if (e.faits >= total_) e.restant = 0.0;
    return e;
}

void AffichageProgression::Relever(const Progression::Releve& releve, const std::string& journal) {
    const EtatLigne etat = Etat(releve);
    if (discret_) return;
    EcrireLignes(journal, false);
    const auto maintenant = Horloge::now();
    if (terminal_ && maintenant - dernierDessin_ >= kIntervalleTerminal) {
        const LigneProgression ligne(LargeurTerminal(sortie_));
        std::fprintf(sortie_, "\r\033[K%s", ligne.Composer(etat).c_str());
        ligneAffichee_ = true;
        dernierDessin_ = maintenant;
    } else if (!terminal_ && maintenant - derniereLigneSimple_ >= kIntervalleSimple) {
        std::fprintf(sortie_, "%s\n", LigneProgression::Complete(etat).c_str());
        derniereLigneSimple_ = maintenant;
    }
    std::fflush(sortie_);
}

void AffichageProgression::Finir(const std::string& journal) {
    if (ligneAffichee_) std::fputs("\r\033[K", sortie_);
    ligneAffichee_ = false;
    if (!discret_) EcrireLignes(journal, true);
    std::fflush(sortie_);
}

} // namespace emporteur::cli
