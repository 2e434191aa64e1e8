// Le moteur du transport sous Windows : une session, une connexion et une demande GET
// WinINet par transfert ; chaque lecture renvoie la même demande avec sa plage.
#include "commun/Mandataire.h"
#include "foundation/ConstantesWin32.h"
#include "foundation/win32/Utf16.h"
#include "http/MoteurHttp.h"
#include "http/TransfertHttp.h"
#include "http/win32/ErreursWinInet.h"
#include "http/win32/ListeMandataire.h"

#include <wininet.h>

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
constexpr DWORD kDrapeauxDemande = INTERNET_FLAG_KEEP_CONNECTION | INTERNET_FLAG_EXISTING_CONNECT |
                                   INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                   INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES;

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
    bool OuvrirDemande(const std::string& adresse, int& etape);
    EnvoiHttp Echec(DWORD code) const;
    bool AjouterEntete(HINTERNET h, const std::string& entete);
    EnvoiHttp TransmettreEntetes(HINTERNET h, RecepteurHttp& recepteur, std::uint64_t& attendu);
    EnvoiHttp LireCorps(HINTERNET h, RecepteurHttp& recepteur, std::uint64_t attendu);

    HINTERNET session_ = nullptr, connexion_ = nullptr;
    // Fermée par Interrompre depuis un autre fil : la lecture en cours revient alors.
    std::atomic<HINTERNET> demande_{nullptr};
    bool parMandataire_ = false;
    std::string mandataire_;
};

MoteurWinInet::~MoteurWinInet() {
    if (HINTERNET h = demande_.exchange(nullptr)) InternetCloseHandle(h);
    if (connexion_) InternetCloseHandle(connexion_);
    if (session_) InternetCloseHandle(session_);
}

void MoteurWinInet::Interrompre() {
    if (HINTERNET h = demande_.exchange(nullptr)) InternetCloseHandle(h);
}

EnvoiHttp MoteurWinInet::Echec(DWORD code) const {
    if (code == ERROR_INTERNET_NAME_NOT_RESOLVED)
        return {IssueEnvoi::NomIntrouvable, DecrireErreurWinInet(code, parMandataire_)};
    if (EstErreurCertificatWinInet(code))
        return {IssueEnvoi::Certificat, DecrireErreurWinInet(code, parMandataire_)};
    return {IssueEnvoi::Echec, DecrireErreurWinInet(code, parMandataire_)};
}

// Mandataire nommé sans liste d'exceptions, sinon l'accès préconfigué du système ;
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
    DWORD blocageMs = static_cast<DWORD>(delais.Blocage * 1000);
    InternetSetOptionW(session_, INTERNET_OPTION_CONNECT_TIMEOUT, &connexionMs, sizeof connexionMs);
    InternetSetOptionW(session_, INTERNET_OPTION_SEND_TIMEOUT, &blocageMs, sizeof blocageMs);
    InternetSetOptionW(session_, INTERNET_OPTION_RECEIVE_TIMEOUT, &blocageMs, sizeof blocageMs);
    return true;
}

bool MoteurWinInet::OuvrirDemande(const std::string& adresse, int& etape) {
    Adresse a;
    if (!DecouperAdresse(adresse, a)) {
        etape = 13;
        SetLastError(ERROR_INTERNET_INVALID_URL);
        return false;
    }
    connexion_ = InternetConnectW(session_, a.hote.c_str(), a.port, nullptr, nullptr,
                                  INTERNET_SERVICE_HTTP, 0, 1);
    if (!connexion_) return false;
    etape = 13;
    const DWORD drapeaux = kDrapeauxDemande | (a.securisee ? INTERNET_FLAG_SECURE : 0);
    demande_ = HttpOpenRequestW(connexion_, L"GET", a.chemin.c_str(), nullptr, nullptr, nullptr,
                                drapeaux, 1);
    return demande_.load() != nullptr;
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
    bool fait = OuvrirSession(connexion, delais);
    if (fait) {
        etape = parMandataire_ ? 112 : 102;
        fait = OuvrirDemande(adresse, etape);
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
    std::string utilisateur = connexion.Utilisateur, motDePasse = connexion.MotDePasse;
    if (parMandataire_ && utilisateur.empty())
        IdentifiantsDuSysteme(connexion.Serveur, connexion.Port, utilisateur, motDePasse);
    if (parMandataire_ && !utilisateur.empty()) FixerIdentifiants(true, utilisateur, motDePasse);
    etape = 16;
    return true;
}

// Ajoute l'en-tête, ou remplace celui du même nom d'un envoi précédent.
bool MoteurWinInet::AjouterEntete(HINTERNET h, const std::string& entete) {
    const std::wstring w = VersUtf16(entete + "\r\n");
    return HttpAddRequestHeadersW(h, w.c_str(), static_cast<DWORD>(w.size()),
                                  HTTP_ADDREQ_FLAG_ADD | HTTP_ADDREQ_FLAG_REPLACE) != FALSE;
}

EnvoiHttp MoteurWinInet::Envoyer(const DemandeHttp& demande, RecepteurHttp& recepteur) {
    HINTERNET h = demande_.load();
    if (!h) return Echec(ERROR_INTERNET_OPERATION_CANCELLED);
    bool fait = AjouterEntete(h, "Range: bytes=" + demande.Plage);
    for (const std::string& entete : demande.Entetes)
        fait = fait && AjouterEntete(h, entete);
    if (!fait || !HttpSendRequestW(h, nullptr, 0, nullptr, 0)) return Echec(GetLastError());
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
    std::vector<char> morceau(kMorceau);
    std::uint64_t recus = 0;
    for (;;) {
        if (!recepteur.Continuer(recus)) return {IssueEnvoi::Coupe, {}};
        DWORD disponibles = 0;
        if (!InternetQueryDataAvailable(h, &disponibles, 0, 0)) return Echec(GetLastError());
        if (disponibles == 0) break;
        DWORD lus = 0;
        if (!InternetReadFile(h, morceau.data(), std::min(disponibles, kMorceau), &lus))
            return Echec(GetLastError());
        if (lus == 0) break;
        recus += lus;
        if (recepteur.Corps(morceau.data(), lus) < lus) return {IssueEnvoi::Coupe, {}};
    }
    if (attendu > 0 && recus < attendu)
        return {IssueEnvoi::Echec, "La connexion a été coupée avant la fin des données."};
    return {};
}

bool MoteurWinInet::FixerIdentifiants(bool mandataire, const std::string& utilisateur,
                                      const std::string& motDePasse) {
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
