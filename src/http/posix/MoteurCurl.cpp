// Le moteur du transport sous Linux : une poignée libcurl par transfert, gardée d'une
// lecture à l'autre (la connexion reste ouverte entre les plages).
#include "commun/Mandataire.h"
#include "http/TransfertHttp.h"
#include "http/AutoritesCertification.h"
#include "http/MoteurHttp.h"
#include "http/posix/ErreursCurl.h"

#include <curl/curl.h>

#include <mutex>

namespace emporteur {

namespace {
constexpr const char* AgentUtilisateur = "TelechargementMervanique 3.0.0.0";

void InitialiserCurl() {
    static std::once_flag fait;
    std::call_once(fait, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
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

class MoteurCurl : public MoteurHttp {
  public:
    MoteurCurl() { InitialiserCurl(); }
    ~MoteurCurl() override {
        if (h_) curl_easy_cleanup(h_);
        curl_slist_free_all(entetes_);
    }
    bool Preparer(const std::string& adresse, const ParametresConnexion& connexion,
                  const DelaisReseau& delais, int& etape, std::string& erreur) override;
    EnvoiHttp Envoyer(const DemandeHttp& demande, RecepteurHttp& recepteur) override;
    bool FixerIdentifiants(bool mandataire, const std::string& utilisateur,
                           const std::string& motDePasse) override;
    std::string Mandataire() const override { return mandataire_; }
    // La progression de libcurl voit l'interruption environ une fois par seconde.
    void Interrompre() override {}

  private:
    CURLcode PreparerMandataire(const ParametresConnexion& connexion);
    CURLcode PreparerSecurite(const ParametresConnexion& connexion);
    CURLcode RelierRappels();
    CURLcode FixerEntetes(const DemandeHttp& demande);

    static std::size_t RecevoirCorps(char* octets, std::size_t, std::size_t n, void* moi);
    static std::size_t RecevoirEntete(char* octets, std::size_t, std::size_t n, void* moi);
    static int SuivreProgression(void* moi, long long, long long, long long, long long);

    CURL* h_ = curl_easy_init();
    curl_slist* entetes_ = nullptr; // lue par libcurl à chaque envoi : vit avec la poignée
    std::string adresse_, mandataire_;
    RecepteurHttp* recepteur_ = nullptr; // l'envoi en cours, pour les rappels
    bool corpsRecu_ = false;
};

bool MoteurCurl::Preparer(const std::string& adresse, const ParametresConnexion& connexion,
                          const DelaisReseau& delais, int& etape, std::string& erreur) {
    const bool parMandataire = !connexion.Serveur.empty();
    if (!h_) return false;
    Reglages regler{h_};
    regler(CURLOPT_USERAGENT, AgentUtilisateur)(CURLOPT_NOSIGNAL, 1L);
    if (parMandataire) regler.erreur = PreparerMandataire(connexion);
    if (regler.erreur == CURLE_OK) {
        etape = parMandataire ? 112 : 102;
        regler(CURLOPT_CONNECTTIMEOUT, delais.Connexion)(CURLOPT_LOW_SPEED_LIMIT, 1L)(
            CURLOPT_LOW_SPEED_TIME, delais.Blocage)(CURLOPT_PROTOCOLS_STR, "http,https");
        // Les octets tels qu'envoyés : un corps compressé est refusé, jamais décodé.
        regler(CURLOPT_HTTP_CONTENT_DECODING, 0L);
    }
    if (regler.erreur == CURLE_OK) regler.erreur = PreparerSecurite(connexion);
    if (regler.erreur == CURLE_OK) {
        etape = 13;
        adresse_ = adresse;
        if (!parMandataire) mandataire_ = MandataireImplicite(adresse_);
        if (!AdresseValide(adresse_)) regler.erreur = CURLE_URL_MALFORMAT;
        regler(CURLOPT_URL, adresse_.c_str())(CURLOPT_HTTPGET, 1L)(CURLOPT_FOLLOWLOCATION, 1L)(
            CURLOPT_MAXREDIRS, 5L)(CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    }
    if (regler.erreur == CURLE_OK) {
        etape = 15;
        regler.erreur = RelierRappels();
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
CURLcode MoteurCurl::PreparerMandataire(const ParametresConnexion& connexion) {
    mandataire_ = AdresseMandataire(connexion);
    Reglages regler{h_};
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
CURLcode MoteurCurl::PreparerSecurite(const ParametresConnexion& connexion) {
    const AutoritesCertification autorites = LireAutoritesCertification(connexion.FichierAutorites);
    Reglages regler{h_};
    if (!autorites.Fichier.empty()) regler(CURLOPT_CAINFO, autorites.Fichier.c_str());
    if (!autorites.Dossier.empty()) regler(CURLOPT_CAPATH, autorites.Dossier.c_str());
    return regler.erreur;
}

// Le corps, les en-têtes et la progression passent par ce moteur.
CURLcode MoteurCurl::RelierRappels() {
    Reglages regler{h_};
    regler(CURLOPT_WRITEFUNCTION, &MoteurCurl::RecevoirCorps)(CURLOPT_WRITEDATA, this);
    regler(CURLOPT_HEADERFUNCTION, &MoteurCurl::RecevoirEntete)(CURLOPT_HEADERDATA, this);
    regler(CURLOPT_XFERINFOFUNCTION, &MoteurCurl::SuivreProgression)(CURLOPT_XFERINFODATA, this);
    regler(CURLOPT_NOPROGRESS, 0L);
    // Des morceaux plus grands que les 16 Kio par défaut : moins d'appels par segment.
    regler(CURLOPT_BUFFERSIZE, 256L * 1024);
    return regler.erreur;
}

CURLcode MoteurCurl::FixerEntetes(const DemandeHttp& demande) {
    curl_slist* liste = nullptr;
    for (const std::string& entete : demande.Entetes) {
        curl_slist* suite = curl_slist_append(liste, entete.c_str());
        if (!suite) {
            curl_slist_free_all(liste);
            return CURLE_OUT_OF_MEMORY;
        }
        liste = suite;
    }
    const CURLcode code = curl_easy_setopt(h_, CURLOPT_HTTPHEADER, liste);
    curl_slist_free_all(entetes_);
    entetes_ = liste;
    return code;
}

EnvoiHttp MoteurCurl::Envoyer(const DemandeHttp& demande, RecepteurHttp& recepteur) {
    CURLcode code = curl_easy_setopt(h_, CURLOPT_RANGE, demande.Plage.c_str());
    if (code == CURLE_OK) code = FixerEntetes(demande);
    if (code == CURLE_OK) {
        recepteur_ = &recepteur;
        corpsRecu_ = false;
        code = curl_easy_perform(h_);
        recepteur_ = nullptr;
    }
    if (code == CURLE_OK) return {};
    // Refus d'un rappel : le récepteur sait pourquoi.
    if (code == CURLE_WRITE_ERROR || code == CURLE_ABORTED_BY_CALLBACK)
        return {IssueEnvoi::Coupe, DecrireErreurCurl(code)};
    if (EstResolution(code)) return {IssueEnvoi::NomIntrouvable, DecrireErreurCurl(code)};
    if (EstErreurCertificat(code)) return {IssueEnvoi::Certificat, DecrireErreurCurl(code)};
    // Une seule ligne d'en-tête trop longue, libcurl la refuse en « mémoire épuisée ».
    if (code == CURLE_OUT_OF_MEMORY && !corpsRecu_)
        return {IssueEnvoi::Echec, "Le serveur a envoyé des en-têtes démesurés."};
    return {IssueEnvoi::Echec, DecrireErreurCurl(code)};
}

bool MoteurCurl::FixerIdentifiants(bool mandataire, const std::string& utilisateur,
                                   const std::string& motDePasse) {
    Reglages regler{h_};
    if (mandataire)
        regler(CURLOPT_PROXYUSERNAME, utilisateur.c_str())(
            CURLOPT_PROXYPASSWORD, motDePasse.c_str())(CURLOPT_PROXYAUTH, CURLAUTH_ANY);
    else
        regler(CURLOPT_USERNAME, utilisateur.c_str())(CURLOPT_PASSWORD, motDePasse.c_str())(
            CURLOPT_HTTPAUTH, CURLAUTH_ANY);
    return regler.erreur == CURLE_OK;
}

std::size_t MoteurCurl::RecevoirCorps(char* octets, std::size_t, std::size_t n, void* moi) {
    auto* m = static_cast<MoteurCurl*>(moi);
    if (!m->recepteur_) return 0;
    m->corpsRecu_ = true;
    return m->recepteur_->Corps(octets, n);
}

std::size_t MoteurCurl::RecevoirEntete(char* octets, std::size_t, std::size_t n, void* moi) {
    auto* m = static_cast<MoteurCurl*>(moi);
    if (!m->recepteur_ || !m->recepteur_->Entete(std::string_view(octets, n))) return 0;
    return n;
}

// Appelé par libcurl même sans données, environ une fois par seconde.
int MoteurCurl::SuivreProgression(void* moi, long long, long long recus, long long, long long) {
    auto* m = static_cast<MoteurCurl*>(moi);
    if (!m->recepteur_) return 0;
    return m->recepteur_->Continuer(static_cast<std::uint64_t>(recus < 0 ? 0 : recus)) ? 0 : 1;
}
} // namespace

std::unique_ptr<MoteurHttp> CreerMoteurHttp() {
    return std::make_unique<MoteurCurl>();
}

} // namespace emporteur
