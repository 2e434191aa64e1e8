// Le moteur du transport sous Windows : une session, une connexion et une demande GET
// WinINet par transfert ; chaque lecture renvoie la même demande avec sa plage.
#include "commun/Mandataire.h"
#include "foundation/ConstantesWin32.h"
#include "foundation/win32/Utf16.h"
#include "http/MoteurHttp.h"
#include "http/TransfertHttp.h"
#include "http/win32/ErreursWinInet.h"
#include "http/win32/FilWinInet.h"
#include "http/win32/ListeMandataire.h"

#include <wininet.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <vector>

namespace emporteur {

namespace {
constexpr const wchar_t* AgentUtilisateur = L"TelechargementMervanique 3.0.0.0";
// Au plus tant d'octets par lecture : le rappel de progression et la surveillance du
// débit passent entre deux.
constexpr DWORD kMorceau = 64 * 1024;

// Pas de cache local : chaque plage va au serveur, jamais un segment corrompu resservi.
// Un renvoi de http vers https est suivi, comme sous Linux.
constexpr DWORD kDrapeauxDemande =
    INTERNET_FLAG_KEEP_CONNECTION | INTERNET_FLAG_EXISTING_CONNECT | INTERNET_FLAG_RELOAD |
    INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES |
    INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;

bool FixerTexte(HINTERNET h, DWORD option, const std::string& texte) {
    std::wstring w = VersUtf16(texte);
    return InternetSetOptionW(h, option, w.data(), static_cast<DWORD>(w.size() + 1)) != FALSE;
}

// Le port écrit dans l'adresse, s'il y en a un, est un nombre de 1 à 65535 : WinINet
// prendrait "serveur:99999" ou "serveur:port" sans rien dire.
bool PortEcritValide(const std::string& adresse) {
    const auto schema = adresse.find("://");
    const auto debut = schema == std::string::npos ? 0 : schema + 3;
    std::string autorite = adresse.substr(debut, adresse.find_first_of("/?#", debut) - debut);
    if (const auto arobase = autorite.rfind('@'); arobase != std::string::npos)
        autorite.erase(0, arobase + 1);
    const auto deuxPoints = autorite.rfind(':');
    if (deuxPoints == std::string::npos || autorite.find(']', deuxPoints) != std::string::npos)
        return true;
    const std::string port = autorite.substr(deuxPoints + 1);
    unsigned valeur = 0;
    const auto [p, e] = std::from_chars(port.data(), port.data() + port.size(), valeur);
    return !port.empty() && e == std::errc() && p == port.data() + port.size() && valeur >= 1 &&
           valeur <= 65535;
}

// Ajoute l'en-tête, ou remplace celui du même nom d'un envoi précédent.
bool AjouterEntete(HINTERNET h, const std::string& entete) {
    const std::wstring w = VersUtf16(entete + "\r\n");
    return HttpAddRequestHeadersW(h, w.c_str(), static_cast<DWORD>(w.size()),
                                  HTTP_ADDREQ_FLAG_ADD | HTTP_ADDREQ_FLAG_REPLACE) != FALSE;
}

// Les parties d'une adresse complète ; faux si elle n'est ni http ni https.
struct Adresse {
    std::wstring hote, chemin;
    INTERNET_PORT port = 0;
    bool securisee = false;
};
bool DecouperAdresse(const std::string& adresse, Adresse& a) {
    if (!PortEcritValide(adresse)) return false;
    const std::wstring w = VersUtf16(adresse);
    URL_COMPONENTSW u{};
    u.dwStructSize = sizeof u;
    u.dwHostNameLength = u.dwUrlPathLength = u.dwExtraInfoLength = 1; // pointeurs dans `w`
    if (!InternetCrackUrlW(w.c_str(), static_cast<DWORD>(w.size()), 0, &u)) return false;
    if (u.nScheme != INTERNET_SCHEME_HTTP && u.nScheme != INTERNET_SCHEME_HTTPS) return false;
    if (!u.lpszHostName || u.dwHostNameLength == 0) return false;
    a.hote.assign(u.lpszHostName, u.dwHostNameLength);
    if (u.lpszUrlPath) a.chemin.assign(u.lpszUrlPath, u.dwUrlPathLength);
    if (u.lpszExtraInfo) a.chemin.append(u.lpszExtraInfo, u.dwExtraInfoLength);
    if (a.chemin.empty()) a.chemin = L"/";
    a.port = u.nPort;
    a.securisee = u.nScheme == INTERNET_SCHEME_HTTPS;
    return true;
}

class MoteurWinInet : public MoteurHttp {
  public:
    ~MoteurWinInet() override;
    bool Preparer(const std::string& adresse, const ParametresConnexion& connexion,
                  const DelaisReseau& delais, int& etape, std::string& erreur) override;
    EnvoiHttp Envoyer(const DemandeHttp& demande, RecepteurHttp& recepteur) override;
    bool FixerIdentifiants(bool mandataire, const std::string& utilisateur,
                           const std::string& motDePasse) override;
    std::string Mandataire() const override { return mandataire_; }
    void Interrompre() override;

  private:
    bool OuvrirSession(const ParametresConnexion& connexion, const DelaisReseau& delais);
    bool OuvrirDemande();
    void Fermer();
    EnvoiHttp Echec(DWORD code) const;
    bool Attendre(FilWinInet::Appel appel, RecepteurHttp& recepteur, std::uint64_t recus,
                  FilWinInet::Issue& issue);
    EnvoiHttp TransmettreEntetes(HINTERNET h, RecepteurHttp& recepteur, std::uint64_t& attendu);
    EnvoiHttp LireCorps(HINTERNET h, RecepteurHttp& recepteur, std::uint64_t attendu);

    HINTERNET session_ = nullptr, connexion_ = nullptr;
    // Fermée par Interrompre depuis un autre fil, ou quand une attente est abandonnée ;
    // rouverte au prochain envoi, sauf après Interrompre.
    std::atomic<HINTERNET> demande_{nullptr};
    std::atomic<bool> interrompu_{false};
    std::unique_ptr<FilWinInet> fil_;
    std::wstring chemin_;
    DWORD drapeaux_ = 0, blocageMs_ = 30000;
    bool parMandataire_ = false;
    std::string mandataire_;
    // Gardés pour une demande rouverte.
    std::string utilisateur_, motDePasse_, utilisateurMandataire_, motDePasseMandataire_;
};

MoteurWinInet::~MoteurWinInet() {
    Fermer();
    fil_.reset();
    if (connexion_) InternetCloseHandle(connexion_);
    if (session_) InternetCloseHandle(session_);
}

void MoteurWinInet::Fermer() {
    if (HINTERNET h = demande_.exchange(nullptr)) InternetCloseHandle(h);
}

void MoteurWinInet::Interrompre() {
    interrompu_ = true;
    Fermer();
}

EnvoiHttp MoteurWinInet::Echec(DWORD code) const {
    if (code == ERROR_INTERNET_NAME_NOT_RESOLVED)
        return {IssueEnvoi::NomIntrouvable, DecrireErreurWinInet(code, parMandataire_)};
    if (EstErreurCertificatWinInet(code))
        return {IssueEnvoi::Certificat, DecrireErreurWinInet(code, parMandataire_)};
    return {IssueEnvoi::Echec, DecrireErreurWinInet(code, parMandataire_)};
}

// Mandataire nommé sans liste d'exceptions, sinon l'accès préconfiguré du système ;
// délais de connexion, d'envoi et de réception (le blocage).
bool MoteurWinInet::OuvrirSession(const ParametresConnexion& connexion,
                                  const DelaisReseau& delais) {
    if (parMandataire_) {
        const std::wstring liste = VersUtf16(ListeMandataire(connexion));
        session_ = InternetOpenW(AgentUtilisateur, INTERNET_OPEN_TYPE_PROXY, liste.c_str(),
                                 nullptr, 0);
    } else {
        session_ = InternetOpenW(AgentUtilisateur, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    }
    if (!session_) return false;
    DWORD connexionMs = static_cast<DWORD>(delais.Connexion * 1000);
    blocageMs_ = static_cast<DWORD>(delais.Blocage * 1000);
    InternetSetOptionW(session_, INTERNET_OPTION_CONNECT_TIMEOUT, &connexionMs, sizeof connexionMs);
    InternetSetOptionW(session_, INTERNET_OPTION_SEND_TIMEOUT, &blocageMs_, sizeof blocageMs_);
    InternetSetOptionW(session_, INTERNET_OPTION_RECEIVE_TIMEOUT, &blocageMs_, sizeof blocageMs_);
    return true;
}

// La demande GET et ce qui s'y attache : délais (wine ne les prend que d'elle),
// identifiants déjà connus.
bool MoteurWinInet::OuvrirDemande() {
    HINTERNET h = HttpOpenRequestW(connexion_, L"GET", chemin_.c_str(), nullptr, nullptr, nullptr,
                                   drapeaux_, 1);
    if (!h) return false;
    InternetSetOptionW(h, INTERNET_OPTION_SEND_TIMEOUT, &blocageMs_, sizeof blocageMs_);
    InternetSetOptionW(h, INTERNET_OPTION_RECEIVE_TIMEOUT, &blocageMs_, sizeof blocageMs_);
    InternetSetOptionW(h, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, &blocageMs_, sizeof blocageMs_);
    demande_ = h;
    if (!utilisateurMandataire_.empty())
        FixerIdentifiants(true, utilisateurMandataire_, motDePasseMandataire_);
    if (!utilisateur_.empty()) FixerIdentifiants(false, utilisateur_, motDePasse_);
    return true;
}

bool MoteurWinInet::Preparer(const std::string& adresse, const ParametresConnexion& connexion,
                             const DelaisReseau& delais, int& etape, std::string& erreur) {
    parMandataire_ = !connexion.Serveur.empty();
    // WinINet ne prend que les autorités du magasin du système.
    if (!connexion.FichierAutorites.empty()) {
        erreur = "Sous Windows, seules les autorités de certification du système sont "
                 "reconnues : le fichier d'autorités ne peut pas servir.";
        return false;
    }
    Adresse a;
    bool fait = OuvrirSession(connexion, delais);
    if (fait) {
        etape = parMandataire_ ? 112 : 102;
        if (!DecouperAdresse(adresse, a)) {
            etape = 13;
            erreur = DecrireErreurWinInet(ERROR_INTERNET_INVALID_URL, parMandataire_);
            return false;
        }
        connexion_ = InternetConnectW(session_, a.hote.c_str(), a.port, nullptr, nullptr,
                                      INTERNET_SERVICE_HTTP, 0, 1);
        fait = connexion_ != nullptr;
    }
    if (fait) {
        etape = 13;
        chemin_ = a.chemin;
        drapeaux_ = kDrapeauxDemande | (a.securisee ? INTERNET_FLAG_SECURE : 0);
        if (parMandataire_) {
            utilisateurMandataire_ = connexion.Utilisateur;
            motDePasseMandataire_ = connexion.MotDePasse;
            if (utilisateurMandataire_.empty())
                IdentifiantsDuSysteme(connexion.Serveur, connexion.Port, utilisateurMandataire_,
                                      motDePasseMandataire_);
        }
        fait = OuvrirDemande();
    }
    if (!fait) {
        erreur = DecrireErreurWinInet(GetLastError(), parMandataire_);
        return false;
    }
    etape = 15;
    // Sortir du mode hors connexion de la bibliothèque, s'il était pris.
    INTERNET_CONNECTED_INFO etat{INTERNET_STATE_CONNECTED, 0};
    InternetSetOptionW(session_, INTERNET_OPTION_CONNECTED_STATE, &etat, sizeof etat);
    mandataire_ = parMandataire_ ? AdresseMandataire(connexion) : MandataireImplicite(adresse);
    etape = 16;
    return true;
}

// Fait l'appel sur le fil de WinINet ; chaque seconde d'attente, le récepteur dit s'il
// faut continuer. Faux s'il a dit d'arrêter : la demande est fermée et le fil laissé.
bool MoteurWinInet::Attendre(FilWinInet::Appel appel, RecepteurHttp& recepteur,
                             std::uint64_t recus, FilWinInet::Issue& issue) {
    if (fil_->Executer(std::move(appel), [&] { return recepteur.Continuer(recus); }, issue))
        return true;
    Fermer();
    return false;
}

EnvoiHttp MoteurWinInet::Envoyer(const DemandeHttp& demande, RecepteurHttp& recepteur) {
    if (interrompu_) return Echec(ERROR_INTERNET_OPERATION_CANCELLED);
    if (!fil_ || fil_->Abandonne()) fil_ = std::make_unique<FilWinInet>(kMorceau);
    if (!demande_.load() && !OuvrirDemande()) return Echec(GetLastError());
    HINTERNET h = demande_.load();
    if (!h) return Echec(ERROR_INTERNET_OPERATION_CANCELLED);
    bool fait = AjouterEntete(h, "Range: bytes=" + demande.Plage);
    for (const std::string& entete : demande.Entetes)
        fait = fait && AjouterEntete(h, entete);
    if (!fait) return Echec(GetLastError());
    FilWinInet::Issue issue;
    if (!Attendre([h](std::vector<char>&, DWORD&) { return HttpSendRequestW(h, nullptr, 0, nullptr, 0); },
                  recepteur, 0, issue))
        return {IssueEnvoi::Coupe, {}};
    if (!issue.Fait) return Echec(issue.Erreur);
    std::uint64_t attendu = 0;
    EnvoiHttp envoi = TransmettreEntetes(h, recepteur, attendu);
    if (envoi.Issue != IssueEnvoi::Fini) return envoi;
    return LireCorps(h, recepteur, attendu);
}

// Les en-têtes de la réponse finale, ligne par ligne (statut d'abord) ; `attendu` :
// le Content-Length, 0 s'il manque.
EnvoiHttp MoteurWinInet::TransmettreEntetes(HINTERNET h, RecepteurHttp& recepteur,
                                           std::uint64_t& attendu) {
    DWORD taille = 0;
    HttpQueryInfoW(h, HTTP_QUERY_RAW_HEADERS_CRLF, nullptr, &taille, nullptr);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return Echec(GetLastError());
    std::wstring brut(taille / sizeof(wchar_t) + 1, L'\0');
    if (!HttpQueryInfoW(h, HTTP_QUERY_RAW_HEADERS_CRLF, brut.data(), &taille, nullptr))
        return Echec(GetLastError());
    brut.resize(taille / sizeof(wchar_t));
    const std::string entetes = DepuisUtf16(brut);
    for (std::size_t debut = 0; debut < entetes.size();) {
        auto fin = entetes.find("\r\n", debut);
        if (fin == std::string::npos) fin = entetes.size();
        const std::string_view ligne(entetes.data() + debut, fin - debut);
        if (!ligne.empty() && !recepteur.Entete(ligne)) return {IssueEnvoi::Coupe, {}};
        debut = fin + 2;
    }
    wchar_t longueur[32] = {};
    DWORD octets = sizeof longueur;
    if (HttpQueryInfoW(h, HTTP_QUERY_CONTENT_LENGTH, longueur, &octets, nullptr)) {
        const std::string texte = DepuisUtf16(longueur);
        std::from_chars(texte.data(), texte.data() + texte.size(), attendu);
    }
    return {};
}

// Le corps par morceaux de ce qui est arrivé ; une fin avant le Content-Length annoncé
// est une coupure, comme sous Linux.
EnvoiHttp MoteurWinInet::LireCorps(HINTERNET h, RecepteurHttp& recepteur, std::uint64_t attendu) {
    std::uint64_t recus = 0;
    for (;;) {
        if (!recepteur.Continuer(recus)) return {IssueEnvoi::Coupe, {}};
        FilWinInet::Issue issue;
        const auto lire = [h](std::vector<char>& tampon, DWORD& n) {
            DWORD disponibles = 0;
            if (!InternetQueryDataAvailable(h, &disponibles, 0, 0)) return FALSE;
            n = 0;
            if (disponibles == 0) return TRUE;
            return InternetReadFile(h, tampon.data(),
                                    std::min<DWORD>(disponibles, static_cast<DWORD>(tampon.size())),
                                    &n);
        };
        if (!Attendre(lire, recepteur, recus, issue)) return {IssueEnvoi::Coupe, {}};
        if (!issue.Fait) return Echec(issue.Erreur);
        if (issue.N == 0) break;
        recus += issue.N;
        if (recepteur.Corps(fil_->Tampon().data(), issue.N) < issue.N)
            return {IssueEnvoi::Coupe, {}};
    }
    if (attendu > 0 && recus < attendu)
        return {IssueEnvoi::Echec, "La connexion a été coupée avant la fin des données."};
    return {};
}

bool MoteurWinInet::FixerIdentifiants(bool mandataire, const std::string& utilisateur,
                                      const std::string& motDePasse) {
    (mandataire ? utilisateurMandataire_ : utilisateur_) = utilisateur;
    (mandataire ? motDePasseMandataire_ : motDePasse_) = motDePasse;
    HINTERNET h = demande_.load();
    if (!h) return false;
    if (mandataire)
        return FixerTexte(h, INTERNET_OPTION_PROXY_USERNAME, utilisateur) &&
               FixerTexte(h, INTERNET_OPTION_PROXY_PASSWORD, motDePasse);
    return FixerTexte(h, INTERNET_OPTION_USERNAME, utilisateur) &&
           FixerTexte(h, INTERNET_OPTION_PASSWORD, motDePasse);
}
} // namespace

std::string ListeMandataire(const ParametresConnexion& connexion) {
    if (connexion.Serveur.empty()) return {};
    return "http=http://" + connexion.Serveur + ":" + std::to_string(connexion.Port);
}

std::unique_ptr<MoteurHttp> CreerMoteurHttp() {
    return std::make_unique<MoteurWinInet>();
}

} // namespace emporteur
