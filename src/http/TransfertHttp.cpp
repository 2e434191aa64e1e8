#include "http/TransfertHttp.h"

#include "commun/Hotes.h"
#include "foundation/Texte.h"
#include "http/AttenteServeur.h"
#include "http/DelaisReseau.h"
#include "http/EtatsHttp.h"
#include "http/ReceptionPlage.h"

#include <cstdio>
#include <ctime>
#include <optional>
#include <stdexcept>

namespace emporteur {

namespace {
constexpr std::size_t MaxDescription = 2047;
// Au-delà, les en-têtes d'une réponse sont refusés (libcurl coupe vers 300 Kio, sans
// dire pourquoi d'une façon qu'on puisse reconnaître).
constexpr std::size_t MaxEntetes = 256 * 1024;

void Ecrire(std::string& message, std::size_t tailleZone, const std::string& texte) {
    message = tailleZone ? CouperUtf8(texte, tailleZone - 1) : std::string();
}

std::string AvecCode(const std::string& debut, const std::string& description, long etape) {
    return debut + " : \"" + CouperUtf8(description, MaxDescription) +
           "\" code = " + std::to_string(etape) + ".";
}
} // namespace

// Ce que la plateforme livre passe par ici : en-têtes comptés, corps vers la
// réception en cours et le rappel, surveillance du débit et interruption.
class TransfertHttp::Recepteur : public RecepteurHttp {
  public:
    explicit Recepteur(TransfertHttp& t) : t_(t) {}
    bool Entete(std::string_view ligne) override;
    std::size_t Corps(const char* octets, std::size_t n) override;
    bool Continuer(std::uint64_t recus) override;

  private:
    TransfertHttp& t_;
};

struct TransfertHttp::Lecture {
    std::string& message;
    std::size_t tailleZone;
    void* tampon;
    std::uint32_t longueur;
    std::uint32_t decalage;
    long etape = 20;
    std::optional<ReceptionPlage> reception;
    Livraison livrer;
    std::uint32_t tailleCorps = 0;
    std::function<void()> avisCorps;
    void Recommencer() {
        if (livrer)
            reception.emplace(livrer, longueur, decalage);
        else
            reception.emplace(tampon, longueur, decalage);
        if (avisCorps) reception->AccepterCorpsEntier(tailleCorps, avisCorps);
    }
    void Erreur(const std::string& description) {
        // Jusqu'où la demande est allée : envoi, statut reçu, ou lecture du corps.
        if (reception->CorpsCommence())
            etape = 29;
        else if (reception->StatutRecu())
            etape = 27;
        Ecrire(message, tailleZone, AvecCode("Erreur de téléchargement", description, etape));
    }
};

std::string AdresseMandataire(const ParametresConnexion& connexion) {
    return "http://" + connexion.Serveur + ":" + std::to_string(connexion.Port);
}

std::string CheminObjet(const std::string& dossier, const std::string& objet) {
    const std::string brut = dossier.empty() ? objet : dossier + "/" + objet;
    static const std::string interdits = "\"<>\\^`{|}# ";
    std::string chemin;
    for (const unsigned char c : brut) {
        if (c < 0x20 || c >= 0x7F || interdits.find(static_cast<char>(c)) != std::string::npos) {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", c);
            chemin += code;
        } else {
            chemin += static_cast<char>(c);
        }
    }
    return chemin;
}

TransfertHttp::TransfertHttp(InterfaceUtilisateur* ui, Rappel rappel)
    : interface_(ui), rappel_(std::move(rappel)) {}

TransfertHttp::~TransfertHttp() = default;

void TransfertHttp::Interrompre() {
    abandon_ = true;
    if (moteur_) moteur_->Interrompre();
}

bool TransfertHttp::Ouvrir(const std::string& hote, const std::string& dossier,
                           const std::string& objet, const ParametresConnexion& connexion,
                           std::string& message, std::size_t tailleZone) {
    message.clear();
    int etape = connexion.Serveur.empty() ? 101 : 111;
    try {
        const DelaisReseau delais = LireDelaisReseau();
        surveillance_ = SurveillanceDebit(delais.VitesseMinimale, delais.Lenteur);
        adresse_ = AdresseObjet(hote, CheminObjet(dossier, objet));
        auto moteur = CreerMoteurHttp();
        std::string erreur;
        if (moteur && moteur->Preparer(adresse_, connexion, delais, etape, erreur)) {
            moteur_ = std::move(moteur);
            ouvert_ = true;
            return true;
        }
        if (!erreur.empty()) {
            Ecrire(message, tailleZone,
                   AvecCode("Erreur d'initialisation du téléchargement", erreur, etape));
            return false;
        }
    } catch (...) {
    }
    Ecrire(message, tailleZone,
           "Erreur indéterminée d'initialisation du téléchargement : code = " +
               std::to_string(etape) + ".");
    return false;
}

ResultatTransfert TransfertHttp::LirePlage(void* tampon, std::uint32_t longueur,
                                           std::uint32_t decalage, std::string& message,
                                           std::size_t tailleZone) {
    message.clear();
    Lecture lecture{message, tailleZone, tampon, longueur, decalage, 20, std::nullopt, {}, 0, {}};
    return Lancer(lecture);
}

ResultatTransfert TransfertHttp::LireSuite(std::uint32_t decalage, std::uint32_t longueur,
                                           Livraison livrer, std::string& message,
                                           std::size_t tailleZone) {
    message.clear();
    Lecture lecture{message,  tailleZone, nullptr,      longueur,          decalage,
                    20,       std::nullopt, std::move(livrer), tailleCorps_, avisCorps_};
    return Lancer(lecture);
}

ResultatTransfert TransfertHttp::Lancer(Lecture& lecture) {
    auto& message = lecture.message;
    const auto tailleZone = lecture.tailleZone;
    if (!ouvert_) {
        Ecrire(message, tailleZone,
               "Erreur indéterminée d'initialisation du téléchargement : code = 21.");
        return {CodeTransfert::Abandon, 0, 0};
    }
    try {
        ResultatTransfert r = Lire(lecture);
        if (lecture.reception)
            r.AttenteServeur =
                LireAttenteServeur(lecture.reception->RetryAfter(), std::time(nullptr));
        return r;
    } catch (...) {
        reception_ = nullptr;
        Ecrire(message, tailleZone,
               "Erreur indéterminée de téléchargement : code = " + std::to_string(lecture.etape) +
                   ".");
        return {silencieux_ ? CodeTransfert::Abandon : CodeTransfert::Reprendre, 0, 0};
    }
}

ResultatTransfert TransfertHttp::Lire(Lecture& lecture) {
    lecture.Recommencer();
    lecture.etape = 22;
    if (lecture.longueur == 0 || (!lecture.tampon && !lecture.livrer))
        throw std::invalid_argument("plage vide");
    lecture.etape = 23;
    EnvoiHttp envoi = Envoyer(lecture);
    if (envoi.Issue == IssueEnvoi::NomIntrouvable) {
        if (!silencieux_ && interface_)
            interface_->BoiteMessage("Veuillez vous connecter à Internet maintenant.\n"
                                     "Appuyez sur OK lorsque la connexion sera établie.",
                                     "", MB_OK);
        lecture.Recommencer();
        envoi = Envoyer(lecture);
    }
    if (abandon_) return Conclure(lecture, false);
    if (envoi.Issue != IssueEnvoi::Fini) {
        lecture.Erreur(Decrire(envoi));
        // Un certificat refusé le sera encore : échec définitif, sans attente.
        if (envoi.Issue == IssueEnvoi::Certificat)
            return {CodeTransfert::Abandon, 0, lecture.reception->Statut()};
        return Conclure(lecture, true);
    }
    lecture.etape = 25;
    return Authentifier(lecture);
}

// Chaque requête dit refuser toute compression ; la copie fraîche s'y ajoute sur
// demande. Rend Fini aussi quand la réception a coupé volontairement (tampon plein,
// corps d'erreur ignoré, plage incohérente jugée ensuite, interruption demandée).
EnvoiHttp TransfertHttp::Envoyer(Lecture& lecture) {
    if (abandon_) return {};
    ReceptionPlage& reception = *lecture.reception;
    DemandeHttp demande;
    const std::uint64_t fin = std::uint64_t{lecture.decalage} + lecture.longueur - 1;
    demande.Plage = std::to_string(lecture.decalage) + "-" + std::to_string(fin);
    demande.Entetes.push_back("Accept-Encoding: identity");
    if (copieFraiche_) {
        demande.Entetes.push_back("Cache-Control: no-cache");
        demande.Entetes.push_back("Pragma: no-cache");
    }
    lent_ = entetesDemesurees_ = false;
    octetsEntetes_ = 0;
    surveillance_.Recommencer(std::chrono::steady_clock::now());
    reception_ = &reception;
    Recepteur recepteur(*this);
    EnvoiHttp envoi = moteur_->Envoyer(demande, recepteur);
    reception_ = nullptr;
    // Une poignée fermée par Interrompre échoue à sa façon : c'est l'interruption.
    if (abandon_ || (envoi.Issue == IssueEnvoi::Coupe && reception.Arret() != ArretReception::Aucun))
        return {};
    return envoi;
}

ResultatTransfert TransfertHttp::Authentifier(Lecture& lecture) {
    int credit = 3;
    for (auto statut = lecture.reception->Statut(); statut == 401 || statut == 407;
         statut = lecture.reception->Statut()) {
        --credit;
        lecture.etape = 240;
        if (!DemanderIdentifiants(statut == 407)) break;
        lecture.etape = 243;
        lecture.Recommencer();
        if (const EnvoiHttp envoi = Envoyer(lecture); envoi.Issue != IssueEnvoi::Fini) {
            lecture.Erreur(Decrire(envoi));
            return Conclure(lecture, true);
        }
        if (abandon_) return Conclure(lecture, false);
        lecture.etape = 244;
        if (credit > 0) continue;
        const auto nouveau = lecture.reception->Statut();
        if (nouveau != 401 && nouveau != 407) return Aiguiller(lecture);
        break;
    }
    const auto statut = lecture.reception->Statut();
    if (statut == 401 || statut == 407) {
        Ecrire(lecture.message, lecture.tailleZone, "Erreur de téléchargement : accès refusé.");
        return {CodeTransfert::Reprendre, 0, statut};
    }
    return Aiguiller(lecture);
}

// Aiguillage d'un statut qui n'est pas une demande d'identifiants.
ResultatTransfert TransfertHttp::Aiguiller(Lecture& lecture) {
    const auto statut = lecture.reception->Statut();
    lecture.etape = 25;
    if (statut >= 200 && statut <= 299) {
        // Un corps compressé ne donnera jamais les bons octets : échec définitif.
        if (const auto& encodage = lecture.reception->Encodage(); !encodage.empty()) {
            Ecrire(lecture.message, lecture.tailleZone,
                   "Échec de téléchargement : le serveur envoie le fichier compressé "
                   "(Content-Encoding : " +
                       encodage + ").");
            return {CodeTransfert::Abandon, 0, statut};
        }
        if (lecture.reception->Arret() != ArretReception::PlageIncoherente)
            return Conclure(lecture, false);
        Ecrire(lecture.message, lecture.tailleZone,
               AvecCode("Erreur de téléchargement",
                        "La plage reçue ne correspond pas à la plage demandée.", lecture.etape));
        return Conclure(lecture, true);
    }
    const char* texte = nullptr;
    if (statut == 404)
        texte = "Erreur de téléchargement : fichier introuvable.";
    else if (statut == 400)
        texte = "Erreur inattendue\u00A0: Veuillez nous contacter\t(code 2).";
    else if (statut == 417)
        texte = "Erreur inattendue\u00A0: Veuillez nous contacter\t(code 1).";
    if (texte) {
        Ecrire(lecture.message, lecture.tailleZone, texte);
        return {CodeTransfert::Abandon, 0, statut};
    }
    // Le sens du statut pour l'utilisateur ; son numéro reste dans le code de l'étape.
    const EtatHttp etat = DecrireEtatHttp(statut);
    lecture.etape = 213000 + statut;
    Ecrire(lecture.message, lecture.tailleZone,
           AvecCode("Erreur de téléchargement", etat.Description, lecture.etape));
    if (etat.Definitif) return {CodeTransfert::Abandon, 0, statut};
    return Conclure(lecture, false);
}

// Des octets reçus font un succès (le CRC de l'appelant tranche), sauf si la réponse
// est incomplète : coupure, blocage ou plage fausse ne valent jamais succès.
ResultatTransfert TransfertHttp::Conclure(const Lecture& lecture, bool incomplet) const {
    const auto recus = lecture.reception->Recus();
    const auto statut = lecture.reception->Statut();
    if (recus > 0 && !incomplet) return {CodeTransfert::Reussi, recus, statut};
    return {silencieux_ ? CodeTransfert::Abandon : CodeTransfert::Reprendre, recus, statut};
}

bool TransfertHttp::DemanderIdentifiants(bool mandataire) {
    std::string utilisateur, motDePasse;
    if (silencieux_ || !interface_ ||
        !interface_->DemanderIdentifiants(mandataire ? moteur_->Mandataire() : adresse_,
                                          mandataire, utilisateur, motDePasse))
        return false;
    return moteur_->FixerIdentifiants(mandataire, utilisateur, motDePasse);
}

bool TransfertHttp::Recepteur::Entete(std::string_view ligne) {
    t_.octetsEntetes_ += ligne.size();
    if (t_.octetsEntetes_ > MaxEntetes) {
        t_.entetesDemesurees_ = true;
        return false;
    }
    if (t_.reception_) t_.reception_->LigneEntete(ligne);
    return true;
}

std::size_t TransfertHttp::Recepteur::Corps(const char* octets, std::size_t n) {
    if (t_.abandon_ || !t_.reception_) return 0;
    const auto avant = t_.reception_->Recus();
    const auto accepte = t_.reception_->Recevoir(octets, n);
    const auto recus = t_.reception_->Recus();
    if (recus > avant && t_.rappel_ && !t_.abandon_) {
        try {
            t_.rappel_(recus);
        } catch (...) {
            t_.abandon_ = true; // une exception ne traverse pas la plateforme
        }
    }
    return accepte;
}

// Appelé même sans données, environ une fois par seconde : une interruption
// n'attend pas le délai de blocage, et un filet d'octets est jugé.
bool TransfertHttp::Recepteur::Continuer(std::uint64_t recus) {
    if (t_.abandon_) return false;
    if (t_.surveillance_.TropLent(std::chrono::steady_clock::now(), recus)) {
        t_.lent_ = true;
        return false;
    }
    return true;
}

// La description d'un échec de la plateforme, ou de ce qui l'a provoqué de notre côté.
std::string TransfertHttp::Decrire(const EnvoiHttp& envoi) const {
    if (lent_) return surveillance_.Description();
    if (entetesDemesurees_) return "Le serveur a envoyé des en-têtes démesurés.";
    return envoi.Description;
}

} // namespace emporteur
