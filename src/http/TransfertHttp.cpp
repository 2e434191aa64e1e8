#include "http/TransfertHttp.h"

#include "commun/Hotes.h"
#include "commun/Mandataire.h"
#include "foundation/Texte.h"
#include "http/AttenteServeur.h"
#include "http/AutoritesCertification.h"
#include "http/DelaisReseau.h"
#include "http/ErreursCurl.h"
#include "http/EtatsHttp.h"
#include "http/ReceptionPlage.h"

#include <curl/curl.h>

#include <cstdio>
#include <ctime>
#include <mutex>
#include <optional>
#include <stdexcept>

namespace emporteur {

namespace {
constexpr const char* AgentUtilisateur = "TelechargementMervanique 3.0.0.0";
constexpr std::size_t MaxDescription = 2047;
// Au-delà, les en-têtes d'une réponse sont refusés (libcurl coupe vers 300 Kio, sans
// dire pourquoi d'une façon qu'on puisse reconnaître).
constexpr std::size_t MaxEntetes = 256 * 1024;

void InitialiserCurl() {
    static std::once_flag fait;
    std::call_once(fait, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

void Ecrire(std::string& message, std::size_t tailleZone, const std::string& texte) {
    message = tailleZone ? CouperUtf8(texte, tailleZone - 1) : std::string();
}

std::string AvecCode(const std::string& debut, const std::string& description, long etape) {
    return debut + " : \"" + CouperUtf8(description, MaxDescription) +
           "\" code = " + std::to_string(etape) + ".";
}

bool EstResolution(CURLcode code) {
    return code == CURLE_COULDNT_RESOLVE_HOST || code == CURLE_COULDNT_RESOLVE_PROXY;
}

bool AdresseValide(const std::string& adresse) {
    CURLU* u = curl_url();
    if (!u) return false;
    const bool valide = curl_url_set(u, CURLUPART_URL, adresse.c_str(), 0) == CURLUE_OK;
    curl_url_cleanup(u);
    return valide;
}

// Les options s'enchaînent ; la première erreur est gardée.
struct Reglages {
    CURL* h;
    CURLcode erreur = CURLE_OK;
    template <class T> Reglages& operator()(CURLoption option, T valeur) {
        if (erreur == CURLE_OK) erreur = curl_easy_setopt(h, option, valeur);
        return *this;
    }
};
} // namespace

struct TransfertHttp::Poignee {
    CURL* h = curl_easy_init();
    curl_slist* entetes = nullptr; // lue par libcurl à chaque envoi : vit avec la poignée
    ~Poignee() {
        if (h) curl_easy_cleanup(h);
        curl_slist_free_all(entetes);
    }
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

bool TransfertHttp::Ouvrir(const std::string& hote, const std::string& dossier,
                           const std::string& objet, const ParametresConnexion& connexion,
                           std::string& message, std::size_t tailleZone) {
    message.clear();
    int etape = connexion.Serveur.empty() ? 101 : 111;
    try {
        InitialiserCurl();
        std::string erreur;
        if (Preparer(hote, CheminObjet(dossier, objet), connexion, etape, erreur)) {
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

bool TransfertHttp::Preparer(const std::string& hote, const std::string& chemin,
                             const ParametresConnexion& connexion, int& etape,
                             std::string& erreur) {
    const bool parMandataire = !connexion.Serveur.empty();
    poignee_ = std::make_unique<Poignee>();
    if (!poignee_->h) return false;
    Reglages regler{poignee_->h};
    regler(CURLOPT_USERAGENT, AgentUtilisateur)(CURLOPT_NOSIGNAL, 1L);
    if (parMandataire) regler.erreur = static_cast<CURLcode>(PreparerMandataire(connexion));
    if (regler.erreur == CURLE_OK) {
        etape = parMandataire ? 112 : 102;
        const DelaisReseau delais = LireDelaisReseau();
        surveillance_ = SurveillanceDebit(delais.VitesseMinimale, delais.Lenteur);
        regler(CURLOPT_CONNECTTIMEOUT, delais.Connexion)(CURLOPT_LOW_SPEED_LIMIT, 1L)(
            CURLOPT_LOW_SPEED_TIME, delais.Blocage)(CURLOPT_PROTOCOLS_STR, "http,https");
        // Les octets tels qu'envoyés : un corps compressé est refusé, jamais décodé.
        regler(CURLOPT_HTTP_CONTENT_DECODING, 0L);
    }
    if (regler.erreur == CURLE_OK)
        regler.erreur = static_cast<CURLcode>(PreparerSecurite(connexion));
    if (regler.erreur == CURLE_OK) {
        etape = 13;
        adresse_ = AdresseObjet(hote, chemin);
        if (!parMandataire) mandataire_ = MandataireImplicite(adresse_);
        if (!AdresseValide(adresse_)) regler.erreur = CURLE_URL_MALFORMAT;
        regler(CURLOPT_URL, adresse_.c_str())(CURLOPT_HTTPGET, 1L)(CURLOPT_FOLLOWLOCATION, 1L)(
            CURLOPT_MAXREDIRS, 5L)(CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    }
    if (regler.erreur == CURLE_OK) {
        etape = 15;
        regler.erreur = static_cast<CURLcode>(RelierRappels());
    }
    if (regler.erreur != CURLE_OK) {
        erreur = DecrireErreurCurl(regler.erreur);
        return false;
    }
    etape = 16;
    return true;
}

// Mandataire nommé, sans liste d'exceptions : no_proxy ne le contourne pas. Sans
// identifiants donnés, ceux de http_proxy s'il désigne le même mandataire.
int TransfertHttp::PreparerMandataire(const ParametresConnexion& connexion) {
    mandataire_ = AdresseMandataire(connexion);
    Reglages regler{poignee_->h};
    regler(CURLOPT_PROXY, mandataire_.c_str())(CURLOPT_NOPROXY, "");
    std::string utilisateur = connexion.Utilisateur, motDePasse = connexion.MotDePasse;
    if (utilisateur.empty())
        IdentifiantsDuSysteme(connexion.Serveur, connexion.Port, utilisateur, motDePasse);
    if (!utilisateur.empty())
        regler(CURLOPT_PROXYUSERNAME, utilisateur.c_str())(
            CURLOPT_PROXYPASSWORD, motDePasse.c_str())(CURLOPT_PROXYAUTH, CURLAUTH_ANY);
    return regler.erreur;
}

// Autorités de certification : l'option, sinon les variables d'usage.
int TransfertHttp::PreparerSecurite(const ParametresConnexion& connexion) {
    const AutoritesCertification autorites = LireAutoritesCertification(connexion.FichierAutorites);
    Reglages regler{poignee_->h};
    if (!autorites.Fichier.empty()) regler(CURLOPT_CAINFO, autorites.Fichier.c_str());
    if (!autorites.Dossier.empty()) regler(CURLOPT_CAPATH, autorites.Dossier.c_str());
    return regler.erreur;
}

// Chaque requête dit refuser toute compression ; la copie fraîche s'y ajoute sur demande.
int TransfertHttp::FixerEntetes() {
    curl_slist* liste = nullptr;
    for (const char* entete :
         {"Accept-Encoding: identity", "Cache-Control: no-cache", "Pragma: no-cache"}) {
        curl_slist* suite = curl_slist_append(liste, entete);
        if (!suite) {
            curl_slist_free_all(liste);
            return CURLE_OUT_OF_MEMORY;
        }
        liste = suite;
        if (!copieFraiche_) break;
    }
    const CURLcode code = curl_easy_setopt(poignee_->h, CURLOPT_HTTPHEADER, liste);
    curl_slist_free_all(poignee_->entetes);
    poignee_->entetes = liste;
    return code;
}

// Le corps, les en-têtes et la progression passent par ce transfert.
int TransfertHttp::RelierRappels() {
    Reglages regler{poignee_->h};
    regler(CURLOPT_WRITEFUNCTION, &TransfertHttp::RecevoirCorps)(CURLOPT_WRITEDATA, this);
    regler(CURLOPT_HEADERFUNCTION, &TransfertHttp::RecevoirEntete)(CURLOPT_HEADERDATA, this);
    regler(CURLOPT_XFERINFOFUNCTION, &TransfertHttp::SuivreProgression)(CURLOPT_XFERINFODATA, this);
    regler(CURLOPT_NOPROGRESS, 0L);
    // Des morceaux plus grands que les 16 Kio par défaut : moins d'appels par segment.
    regler(CURLOPT_BUFFERSIZE, 256L * 1024);
    return regler.erreur;
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
    const std::uint64_t fin = std::uint64_t{lecture.decalage} + lecture.longueur - 1;
    const std::string plage = std::to_string(lecture.decalage) + "-" + std::to_string(fin);
    auto code = curl_easy_setopt(poignee_->h, CURLOPT_RANGE, plage.c_str());
    if (code == CURLE_OK) code = static_cast<CURLcode>(FixerEntetes());
    if (code != CURLE_OK) {
        lecture.Erreur(DecrireErreurCurl(code));
        return Conclure(lecture, false);
    }
    lecture.etape = 23;
    code = static_cast<CURLcode>(Envoyer(*lecture.reception));
    if (EstResolution(code)) {
        if (!silencieux_ && interface_)
            interface_->BoiteMessage("Veuillez vous connecter à Internet maintenant.\n"
                                     "Appuyez sur OK lorsque la connexion sera établie.",
                                     "", MB_OK);
        lecture.Recommencer();
        code = static_cast<CURLcode>(Envoyer(*lecture.reception));
    }
    if (abandon_) return Conclure(lecture, false);
    if (code != CURLE_OK) {
        lecture.Erreur(Decrire(code, *lecture.reception));
        // Un certificat refusé le sera encore : échec définitif, sans attente.
        if (EstErreurCertificat(code))
            return {CodeTransfert::Abandon, 0, lecture.reception->Statut()};
        return Conclure(lecture, true);
    }
    lecture.etape = 25;
    return Authentifier(lecture);
}

// Rend CURLE_OK aussi quand la réception a coupé volontairement (tampon plein, corps
// d'erreur ignoré, plage incohérente jugée ensuite, interruption demandée).
int TransfertHttp::Envoyer(ReceptionPlage& reception) {
    if (abandon_) return CURLE_OK;
    lent_ = entetesDemesurees_ = false;
    octetsEntetes_ = 0;
    surveillance_.Recommencer(std::chrono::steady_clock::now());
    reception_ = &reception;
    const CURLcode code = curl_easy_perform(poignee_->h);
    reception_ = nullptr;
    const bool coupeVoulue = reception.Arret() != ArretReception::Aucun || abandon_;
    if (coupeVoulue && (code == CURLE_WRITE_ERROR || code == CURLE_ABORTED_BY_CALLBACK))
        return CURLE_OK;
    return code;
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
        if (const auto code = static_cast<CURLcode>(Envoyer(*lecture.reception))) {
            lecture.Erreur(Decrire(code, *lecture.reception));
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
        !interface_->DemanderIdentifiants(mandataire ? mandataire_ : adresse_, mandataire,
                                          utilisateur, motDePasse))
        return false;
    Reglages regler{poignee_->h};
    if (mandataire)
        regler(CURLOPT_PROXYUSERNAME, utilisateur.c_str())(
            CURLOPT_PROXYPASSWORD, motDePasse.c_str())(CURLOPT_PROXYAUTH, CURLAUTH_ANY);
    else
        regler(CURLOPT_USERNAME, utilisateur.c_str())(CURLOPT_PASSWORD, motDePasse.c_str())(
            CURLOPT_HTTPAUTH, CURLAUTH_ANY);
    return regler.erreur == CURLE_OK;
}

std::size_t TransfertHttp::RecevoirCorps(char* octets, std::size_t, std::size_t n, void* moi) {
    auto* t = static_cast<TransfertHttp*>(moi);
    if (t->abandon_ || !t->reception_) return 0;
    const auto avant = t->reception_->Recus();
    const auto accepte = t->reception_->Recevoir(octets, n);
    const auto recus = t->reception_->Recus();
    if (recus > avant && t->rappel_ && !t->abandon_) {
        try {
            t->rappel_(recus);
        } catch (...) {
            t->abandon_ = true; // une exception ne traverse pas libcurl
        }
    }
    return accepte;
}

std::size_t TransfertHttp::RecevoirEntete(char* octets, std::size_t, std::size_t n, void* moi) {
    auto* t = static_cast<TransfertHttp*>(moi);
    t->octetsEntetes_ += n;
    if (t->octetsEntetes_ > MaxEntetes) {
        t->entetesDemesurees_ = true;
        return 0;
    }
    if (t->reception_) t->reception_->LigneEntete(std::string_view(octets, n));
    return n;
}

// Appelé par libcurl même sans données, environ une fois par seconde : une
// interruption n'attend pas le délai de blocage, et un filet d'octets est jugé.
int TransfertHttp::SuivreProgression(void* moi, long long, long long recus, long long, long long) {
    auto* t = static_cast<TransfertHttp*>(moi);
    if (t->abandon_) return 1;
    if (t->surveillance_.TropLent(std::chrono::steady_clock::now(),
                                  static_cast<std::uint64_t>(recus < 0 ? 0 : recus))) {
        t->lent_ = true;
        return 1;
    }
    return 0;
}

// La description d'un échec de libcurl, ou de ce qui l'a provoqué de notre côté.
std::string TransfertHttp::Decrire(int code, const ReceptionPlage& reception) const {
    if (lent_) return surveillance_.Description();
    // Une seule ligne d'en-tête trop longue, libcurl la refuse en « mémoire épuisée ».
    if (entetesDemesurees_ || (code == CURLE_OUT_OF_MEMORY && !reception.CorpsCommence()))
        return "Le serveur a envoyé des en-têtes démesurés.";
    return DecrireErreurCurl(static_cast<CURLcode>(code));
}

} // namespace emporteur
