#include "download/DemandeSuite.h"

#include "download/Crc32.h"

namespace emporteur {

namespace {
constexpr const char* kCorrompu = "Téléchargement corrompu : reprise du segment.";
} // namespace

bool SegmentFichierValide(CadreDemandes& cadre, std::uint32_t i) {
    const std::uint32_t longueur = cadre.Plan.Longueur(i);
    return cadre.Magasin.LireSegment(i, cadre.Tampon.data()) &&
           Crc32(0, cadre.Tampon.data(), longueur) == cadre.Crcs[i];
}

DemandeSuite::DemandeSuite(CadreDemandes& cadre, std::uint32_t premier, std::uint32_t fin)
    : cadre_(cadre), premier_(premier), fin_(fin),
      decoupage_(cadre.Plan, premier, fin, cadre.Tampon,
                 [this](std::uint32_t k, const char* octets, std::uint32_t n) {
                     return SegmentRecu(k, octets, n);
                 }) {}

IssueDemande DemandeSuite::Executer(TransfertHttp& transfert, std::string& message) {
    transfert_ = &transfert;
    if (cadre_.RefuserCorpsEntier && cadre_.RefuserCorpsEntier->load())
        transfert.AccepterCorpsEntier(0, {});
    else
        transfert.AccepterCorpsEntier(cadre_.Plan.Taille(), [this] { PasserAuCorpsEntier(); });
    issue_.Transfert = transfert.LireSuite(
        static_cast<std::uint32_t>(cadre_.Plan.Debut(premier_)),
        static_cast<std::uint32_t>(decoupage_.Longueur()),
        [this](const char* octets, std::size_t n) {
            if (!issue_.CorpsEntier && cadre_.PlageServie) cadre_.PlageServie();
            const bool suite = decoupage_.Recevoir(octets, n);
            if (decoupage_.RecusCourant() > 0)
                cadre_.Progres(decoupage_.RecusCourant(), decoupage_.LongueurCourant());
            return suite;
        },
        message, 1024);
    issue_.Complete = decoupage_.Complete();
    // Un corps entier n'écrit rien au journal : la boucle reprend à son premier segment,
    // dont la ligne est ouverte, et lira l'état de chacun.
    issue_.Courant = issue_.CorpsEntier ? premier_ : decoupage_.Courant();
    if (issue_.CorpsEntier) issue_.LigneOuverte = true;
    return issue_;
}

// Le serveur envoie tout depuis l'octet 0 : on prend au passage chaque segment encore
// à recevoir, et la réception s'arrête après le dernier.
void DemandeSuite::PasserAuCorpsEntier() {
    issue_.CorpsEntier = true;
    std::uint32_t fin = premier_;
    for (std::uint32_t k = premier_; k < cadre_.Etats.size(); ++k) {
        if (cadre_.Etats[k] == EtatSegment::Inconnu)
            cadre_.Etats[k] =
                SegmentFichierValide(cadre_, k) ? EtatSegment::Fichier : EtatSegment::ARecevoir;
        if (Voulu(k)) fin = k + 1;
    }
    decoupage_.Recommencer(0, fin, [this](std::uint32_t k) { return Voulu(k); });
}

bool DemandeSuite::Voulu(std::uint32_t k) {
    return k >= premier_ && cadre_.Etats[k] == EtatSegment::ARecevoir;
}

// Un segment complet : vérifié, écrit, noté ; faux arrête la requête.
bool DemandeSuite::SegmentRecu(std::uint32_t k, const char* octets, std::uint32_t n) {
    issue_.LigneOuverte = false;
    if (cadre_.Annule.load()) return false;
    if (Crc32(0, octets, n) != cadre_.Crcs[k]) {
        cadre_.Journal.AjouterMessage(kCorrompu);
        // Un cache a pu servir une ancienne copie : la suite lui en demande une fraîche.
        if (transfert_) transfert_->DemanderCopieFraiche();
        issue_.Corrompue = true;
        return false;
    }
    if (!cadre_.Magasin.EcrireSegment(k, octets, n)) {
        cadre_.Journal.AjouterMessage(MessageDisque({IssueDisque::Genre::Ecriture, 1, 0}));
        issue_.Disque = true;
        return false;
    }
    if (cadre_.PlacerEnCours) cadre_.Magasin.Placer(k, octets, n);
    issue_.UnSucces = true;
    cadre_.Journal.CompterSegment(k, true, n);
    if (issue_.CorpsEntier) { // dit au journal quand la boucle y arrivera
        cadre_.Etats[k] = EtatSegment::Fichier;
        return true;
    }
    cadre_.Etats[k] = EtatSegment::Fichier;
    cadre_.Progres(n, n); // le segment entier, avant qu'il compte parmi les faits
    cadre_.SegmentFait(k, n);
    cadre_.Journal.AjouterMessage("réussi.");
    if (k + 1 < fin_) {
        cadre_.Journal.AjouterMessage("Segment " + std::to_string(k + 2) + " de " +
                                          std::to_string(cadre_.Plan.Nombre()) + "... ",
                                      false);
        issue_.LigneOuverte = true;
    }
    return true;
}

} // namespace emporteur
