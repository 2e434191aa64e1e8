#include "outils/ServeurDefaillant.h"

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>

namespace emporteur::test {

namespace {
using namespace std::chrono_literals;

// Octets [debut, fin) inversés dans les `restant` prochaines réponses qui les couvrent.
struct Corruption {
    std::uint64_t debut = 0, fin = 0;
    int restant = 0;
};

struct Comportement {
    int statut = 0, statutRestant = 0;
    std::chrono::milliseconds statutPendant{-1};
    std::optional<std::chrono::steady_clock::time_point> statutDepuis;
    std::string retryAfter;
    std::string authAttendue; // "Basic …", vide si aucune
    bool ignorerPlage = false;
    std::int64_t ecart = 0;
    std::vector<std::shared_ptr<Corruption>> corruptions;
    std::uint64_t coupure = 0;
    int coupureRestant = 0;
    std::uint64_t raccourci = 0;
    int raccourciRestant = 0, raccourciSaute = 0;
    std::optional<std::uint64_t> blocage;
    int blocageRestant = Toujours, blocageSaute = 0;
    std::size_t bloc = 0;
    std::chrono::milliseconds pause{0};
    std::string encodage;
    std::size_t gonflement = 0, ligne = 0;
};

struct Chemin {
    std::shared_ptr<const std::string> contenu;
    Comportement comportement;
    int requetes = 0;
    std::vector<PlageServie> plages;
    std::vector<std::chrono::steady_clock::time_point> arrivees;
};

// Ce que la requête courante subira, décidé sous le verrou.
struct Plan {
    std::shared_ptr<const std::string> contenu;
    int statut = 0;
    std::string retryAfter;
    bool authEchec = false;
    bool ignorerPlage = false;
    std::int64_t ecart = 0;
    std::vector<std::shared_ptr<Corruption>> corruptions; // décomptées au service, sous le verrou
    std::optional<std::uint64_t> coupure, blocage, raccourci;
    std::size_t bloc = 0;
    std::chrono::milliseconds pause{0};
    std::string encodage;
    std::size_t gonflement = 0, ligne = 0;
};

bool Consommer(int& restant) {
    if (restant == Toujours) return true;
    if (restant <= 0) return false;
    --restant;
    return true;
}

std::string Base64(const std::string& s) {
    static const char* alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string sortie;
    for (std::size_t i = 0; i < s.size(); i += 3) {
        std::uint32_t v = static_cast<unsigned char>(s[i]) << 16;
        if (i + 1 < s.size()) v |= static_cast<unsigned char>(s[i + 1]) << 8;
        if (i + 2 < s.size()) v |= static_cast<unsigned char>(s[i + 2]);
        sortie += alphabet[(v >> 18) & 63];
        sortie += alphabet[(v >> 12) & 63];
        sortie += i + 1 < s.size() ? alphabet[(v >> 6) & 63] : '=';
        sortie += i + 2 < s.size() ? alphabet[v & 63] : '=';
    }
    return sortie;
}

std::optional<std::uint64_t> Nombre(std::string_view s) {
    std::uint64_t n = 0;
    auto [p, e] = std::from_chars(s.data(), s.data() + s.size(), n);
    if (s.empty() || e != std::errc() || p != s.data() + s.size()) return std::nullopt;
    return n;
}

// "bytes=a-b", "bytes=a-", "bytes=-n" ; nullopt si illisible ou hors du fichier.
std::optional<std::pair<std::uint64_t, std::uint64_t>> LirePlage(std::string_view v,
                                                                 std::uint64_t taille) {
    if (v.substr(0, 6) != "bytes=" || v.find(',') != std::string_view::npos) return std::nullopt;
    v.remove_prefix(6);
    const auto tiret = v.find('-');
    if (tiret == std::string_view::npos || taille == 0) return std::nullopt;
    const auto a = Nombre(v.substr(0, tiret));
    const auto b = Nombre(v.substr(tiret + 1));
    if (!a && b && *b > 0) return std::pair{taille - std::min(*b, taille), taille - 1};
    if (!a || *a >= taille || (b && *b < *a)) return std::nullopt;
    return std::pair{*a, std::min(b.value_or(taille - 1), taille - 1)};
}
} // namespace

struct ServeurDefaillant::Etat {
    httplib::Server serveur;
    std::thread fil;
    mutable std::mutex verrou;
    std::map<std::string, Chemin> chemins;
    int total = 0;
    httplib::Headers entetes;
    std::atomic<bool> arret{false};

    Plan Planifier(const httplib::Request& requete);
    void Traiter(const httplib::Request& requete, httplib::Response& reponse);
    void Servir(const Plan& plan, const httplib::Request& requete, httplib::Response& reponse);
    bool Fournir(const std::string& corps, const Plan& plan, std::size_t decalage,
                 httplib::DataSink& puits) const;
    void Attendre(std::chrono::milliseconds duree) const {
        const auto fin = std::chrono::steady_clock::now() + duree;
        while (!arret && std::chrono::steady_clock::now() < fin)
            std::this_thread::sleep_for(std::min<std::chrono::milliseconds>(duree, 10ms));
    }
};

Plan ServeurDefaillant::Etat::Planifier(const httplib::Request& requete) {
    std::lock_guard garde(verrou);
    ++total;
    entetes = requete.headers;
    Chemin& c = chemins[requete.path];
    ++c.requetes;
    const auto maintenant = std::chrono::steady_clock::now();
    c.arrivees.push_back(maintenant);
    Comportement& m = c.comportement;
    Plan p;
    p.contenu = c.contenu;
    if (!m.authAttendue.empty() && requete.get_header_value("Authorization") != m.authAttendue)
        p.authEchec = true;
    if (m.statutPendant.count() >= 0) {
        if (!m.statutDepuis) m.statutDepuis = maintenant;
        if (maintenant - *m.statutDepuis < m.statutPendant) p.statut = m.statut;
    } else if (m.statut && Consommer(m.statutRestant)) {
        p.statut = m.statut;
    }
    p.retryAfter = m.retryAfter;
    p.ignorerPlage = m.ignorerPlage;
    p.ecart = m.ecart;
    p.corruptions = m.corruptions;
    if (m.coupureRestant != 0 && Consommer(m.coupureRestant)) p.coupure = m.coupure;
    if (m.raccourciSaute > 0)
        --m.raccourciSaute;
    else if (m.raccourciRestant != 0 && Consommer(m.raccourciRestant))
        p.raccourci = m.raccourci;
    if (m.blocage && m.blocageSaute > 0)
        --m.blocageSaute;
    else if (m.blocage && Consommer(m.blocageRestant))
        p.blocage = m.blocage;
    p.bloc = m.bloc;
    p.pause = m.pause;
    p.encodage = m.encodage;
    p.gonflement = m.gonflement;
    p.ligne = m.ligne;
    return p;
}

void ServeurDefaillant::Etat::Traiter(const httplib::Request& requete, httplib::Response& reponse) {
    const Plan plan = Planifier(requete);
    // Les plages sont servies ici, pas par la bibliothèque, pour pouvoir les fausser.
    const_cast<httplib::Request&>(requete).ranges.clear();
    for (std::size_t i = 0, fait = 0; fait < plan.gonflement; ++i) {
        const std::string nom = "X-Bourrage-" + std::to_string(i);
        const std::size_t taille = std::min(plan.ligne, plan.gonflement - fait);
        const std::size_t valeur = taille > nom.size() + 4 ? taille - nom.size() - 4 : 1;
        reponse.set_header(nom, std::string(valeur, 'a'));
        fait += nom.size() + 4 + valeur;
    }
    if (plan.authEchec) {
        reponse.status = 401;
        reponse.set_header("WWW-Authenticate", "Basic realm=\"Emporteur\"");
        reponse.set_content("Identifiants requis", "text/plain");
    } else if (plan.statut) {
        reponse.status = plan.statut;
        if (!plan.retryAfter.empty()) reponse.set_header("Retry-After", plan.retryAfter);
        reponse.set_content("Panne", "text/plain");
    } else if (!plan.contenu) {
        reponse.status = 404;
        reponse.set_content("Introuvable", "text/plain");
    } else {
        Servir(plan, requete, reponse);
    }
}

void ServeurDefaillant::Etat::Servir(const Plan& plan, const httplib::Request& requete,
                                     httplib::Response& reponse) {
    const std::string& contenu = *plan.contenu;
    const std::uint64_t taille = contenu.size();
    PlageServie servie{0, taille ? taille - 1 : 0, 200};
    if (requete.has_header("Range") && !plan.ignorerPlage) {
        const auto plage = LirePlage(requete.get_header_value("Range"), taille);
        if (!plage) {
            reponse.status = 416;
            reponse.set_header("Content-Range", "bytes */" + std::to_string(taille));
            std::lock_guard garde(verrou);
            chemins[requete.path].plages.push_back({0, 0, 416});
            return;
        }
        const auto decaler = [&](std::uint64_t x) {
            const auto d = static_cast<std::int64_t>(x) + plan.ecart;
            return static_cast<std::uint64_t>(
                std::clamp<std::int64_t>(d, 0, static_cast<std::int64_t>(taille) - 1));
        };
        servie = {decaler(plage->first), decaler(plage->second), 206};
    }
    if (plan.raccourci && taille)
        servie.fin =
            std::min(servie.fin, servie.debut + std::max<std::uint64_t>(*plan.raccourci, 1) - 1);
    if (servie.statut == 206)
        reponse.set_header("Content-Range", "bytes " + std::to_string(servie.debut) + "-" +
                                                std::to_string(servie.fin) + "/" +
                                                std::to_string(taille));
    std::string corps = taille ? contenu.substr(servie.debut, servie.fin - servie.debut + 1) : "";
    {
        std::lock_guard garde(verrou);
        chemins[requete.path].plages.push_back(servie);
        // Une zone ne compte que les réponses qui la couvrent.
        for (const auto& c : plan.corruptions) {
            const auto debut = std::max(c->debut, servie.debut);
            const auto fin = std::min(c->fin, servie.debut + corps.size());
            if (debut >= fin || !Consommer(c->restant)) continue;
            for (auto i = debut; i < fin; ++i)
                corps[i - servie.debut] = static_cast<char>(corps[i - servie.debut] ^ 0xFF);
        }
    }
    reponse.status = servie.statut;
    if (!plan.encodage.empty()) reponse.set_header("Content-Encoding", plan.encodage);
    if (!plan.coupure && !plan.blocage && !plan.bloc) {
        reponse.set_content(corps, "application/octet-stream");
        return;
    }
    auto partage = std::make_shared<std::string>(std::move(corps));
    reponse.set_content_provider(
        partage->size(), "application/octet-stream",
        [this, partage, plan](std::size_t decalage, std::size_t, httplib::DataSink& puits) {
            return Fournir(*partage, plan, decalage, puits);
        });
}

// Un bloc du corps par appel ; faux coupe la connexion.
bool ServeurDefaillant::Etat::Fournir(const std::string& corps, const Plan& plan,
                                      std::size_t decalage, httplib::DataSink& puits) const {
    std::size_t limite = corps.size();
    if (plan.coupure) limite = std::min<std::size_t>(limite, *plan.coupure);
    if (plan.blocage) limite = std::min<std::size_t>(limite, *plan.blocage);
    if (decalage >= limite) {
        if (plan.blocage) Attendre(60s);
        return false;
    }
    if (plan.bloc && decalage > 0) Attendre(plan.pause);
    const std::size_t n = std::min(limite - decalage, plan.bloc ? plan.bloc : 64 * 1024);
    return !arret && puits.write(corps.data() + decalage, n);
}

ServeurDefaillant::ServeurDefaillant() : etat_(std::make_unique<Etat>()) {
    auto& s = etat_->serveur;
    s.set_keep_alive_timeout(2);
    s.set_read_timeout(5);
    s.Get(".*",
          [e = etat_.get()](const httplib::Request& q, httplib::Response& r) { e->Traiter(q, r); });
    port_ = s.bind_to_any_port("127.0.0.1");
    if (port_ <= 0) throw std::runtime_error("ServeurDefaillant : aucun port libre");
    etat_->fil = std::thread([&s] { s.listen_after_bind(); });
    const auto limite = std::chrono::steady_clock::now() + 5s;
    while (!s.is_running() && std::chrono::steady_clock::now() < limite)
        std::this_thread::sleep_for(1ms);
}

ServeurDefaillant::~ServeurDefaillant() {
    etat_->arret = true;
    // Un arrêt demandé avant que l'écoute ait commencé serait perdu : on attend qu'elle tourne.
    const auto limite = std::chrono::steady_clock::now() + 5s;
    while (!etat_->serveur.is_running() && std::chrono::steady_clock::now() < limite)
        std::this_thread::sleep_for(1ms);
    etat_->serveur.stop();
    if (etat_->fil.joinable()) etat_->fil.join();
}

void PrintTo(const PlageServie& p, std::ostream* os) {
    *os << "[" << p.debut << "-" << p.fin << "] " << p.statut;
}

std::string ServeurDefaillant::Hote() const {
    return "127.0.0.1:" + std::to_string(port_);
}

void ServeurDefaillant::AjouterFichier(const std::string& chemin, std::string contenu) {
    std::lock_guard garde(etat_->verrou);
    etat_->chemins[chemin].contenu = std::make_shared<const std::string>(std::move(contenu));
}

void ServeurDefaillant::Corrompre(const std::string& chemin, std::uint64_t debut, std::uint64_t fin,
                                  int k) {
    std::lock_guard garde(etat_->verrou);
    if (fin > debut)
        etat_->chemins[chemin].comportement.corruptions.push_back(
            std::make_shared<Corruption>(Corruption{debut, fin, k}));
}

void ServeurDefaillant::CouperApres(const std::string& chemin, std::uint64_t octets, int k) {
    std::lock_guard garde(etat_->verrou);
    auto& m = etat_->chemins[chemin].comportement;
    m.coupure = octets;
    m.coupureRestant = k;
}

void ServeurDefaillant::Raccourcir(const std::string& chemin, std::uint64_t octets, int k,
                                   int sautees) {
    std::lock_guard garde(etat_->verrou);
    auto& m = etat_->chemins[chemin].comportement;
    m.raccourci = octets;
    m.raccourciRestant = k;
    m.raccourciSaute = sautees;
}

void ServeurDefaillant::RepondreStatut(const std::string& chemin, int statut, int k) {
    std::lock_guard garde(etat_->verrou);
    auto& m = etat_->chemins[chemin].comportement;
    m.statut = statut;
    m.statutRestant = k;
}

void ServeurDefaillant::RepondreStatutPendant(const std::string& chemin, int statut,
                                              std::chrono::milliseconds duree) {
    std::lock_guard garde(etat_->verrou);
    auto& m = etat_->chemins[chemin].comportement;
    m.statut = statut;
    m.statutPendant = duree;
    m.statutDepuis.reset();
}

void ServeurDefaillant::DemanderAttente(const std::string& chemin, std::string valeur) {
    std::lock_guard garde(etat_->verrou);
    etat_->chemins[chemin].comportement.retryAfter = std::move(valeur);
}

void ServeurDefaillant::ExigerIdentifiants(const std::string& chemin, std::string utilisateur,
                                           std::string motDePasse) {
    std::lock_guard garde(etat_->verrou);
    etat_->chemins[chemin].comportement.authAttendue =
        "Basic " + Base64(utilisateur + ":" + motDePasse);
}

void ServeurDefaillant::IgnorerPlage(const std::string& chemin) {
    std::lock_guard garde(etat_->verrou);
    etat_->chemins[chemin].comportement.ignorerPlage = true;
}

void ServeurDefaillant::DecalerPlage(const std::string& chemin, std::int64_t ecart) {
    std::lock_guard garde(etat_->verrou);
    etat_->chemins[chemin].comportement.ecart = ecart;
}

void ServeurDefaillant::Bloquer(const std::string& chemin, std::uint64_t octets, int k,
                                int sautees) {
    std::lock_guard garde(etat_->verrou);
    auto& m = etat_->chemins[chemin].comportement;
    m.blocage = octets;
    m.blocageRestant = k;
    m.blocageSaute = sautees;
}

void ServeurDefaillant::Ralentir(const std::string& chemin, std::size_t bloc,
                                 std::chrono::milliseconds pause) {
    std::lock_guard garde(etat_->verrou);
    auto& m = etat_->chemins[chemin].comportement;
    m.bloc = std::max<std::size_t>(bloc, 1);
    m.pause = pause;
}

void ServeurDefaillant::Encoder(const std::string& chemin, std::string encodage) {
    std::lock_guard garde(etat_->verrou);
    etat_->chemins[chemin].comportement.encodage = std::move(encodage);
}

void ServeurDefaillant::GonflerEntetes(const std::string& chemin, std::size_t octets,
                                       std::size_t ligne) {
    std::lock_guard garde(etat_->verrou);
    auto& m = etat_->chemins[chemin].comportement;
    m.gonflement = octets;
    m.ligne = std::max<std::size_t>(ligne, 16);
}

void ServeurDefaillant::Reparer(const std::string& chemin) {
    std::lock_guard garde(etat_->verrou);
    etat_->chemins[chemin].comportement = {};
}

int ServeurDefaillant::Requetes() const {
    std::lock_guard garde(etat_->verrou);
    return etat_->total;
}

int ServeurDefaillant::Requetes(const std::string& chemin) const {
    std::lock_guard garde(etat_->verrou);
    const auto it = etat_->chemins.find(chemin);
    return it == etat_->chemins.end() ? 0 : it->second.requetes;
}

std::vector<PlageServie> ServeurDefaillant::Plages(const std::string& chemin) const {
    std::lock_guard garde(etat_->verrou);
    const auto it = etat_->chemins.find(chemin);
    return it == etat_->chemins.end() ? std::vector<PlageServie>{} : it->second.plages;
}

std::vector<std::chrono::steady_clock::time_point>
ServeurDefaillant::Arrivees(const std::string& chemin) const {
    std::lock_guard garde(etat_->verrou);
    const auto it = etat_->chemins.find(chemin);
    return it == etat_->chemins.end() ? std::vector<std::chrono::steady_clock::time_point>{}
                                      : it->second.arrivees;
}

std::multimap<std::string, std::string> ServeurDefaillant::DernieresEntetes() const {
    std::lock_guard garde(etat_->verrou);
    return {etat_->entetes.begin(), etat_->entetes.end()};
}

std::string ServeurDefaillant::DerniereEntete(const std::string& nom) const {
    std::lock_guard garde(etat_->verrou);
    // Les en-têtes de httplib se comparent sans casse.
    const auto it = etat_->entetes.find(nom);
    return it == etat_->entetes.end() ? std::string() : it->second;
}

void ServeurDefaillant::OublierRequetes() {
    std::lock_guard garde(etat_->verrou);
    etat_->total = 0;
    for (auto& [nom, c] : etat_->chemins) {
        c.requetes = 0;
        c.plages.clear();
        c.arrivees.clear();
    }
}

} // namespace emporteur::test
