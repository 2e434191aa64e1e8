#pragma once
// Serveur HTTP de test sur 127.0.0.1 (port éphémère) : sert des fichiers en mémoire
// avec de vraies plages (206 + Content-Range, 416 hors du fichier) et, par chemin,
// des pannes scriptées. Compte les requêtes, note les plages servies et les en-têtes
// de la dernière requête. Démarré par le constructeur, arrêté par le destructeur.

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace emporteur::test {

// Une plage servie : fin incluse ; statut de la réponse (200, 206, 416…).
struct PlageServie {
    std::uint64_t debut = 0;
    std::uint64_t fin = 0;
    int statut = 0;
    bool operator==(const PlageServie&) const = default;
};

// Pour les messages d'échec : "[debut-fin] statut".
void PrintTo(const PlageServie& p, std::ostream* os);

// Nombre de requêtes touchées par une panne : les k premières, ou toutes.
inline constexpr int Toujours = -1;

class ServeurDefaillant {
  public:
    ServeurDefaillant();
    ~ServeurDefaillant();
    ServeurDefaillant(const ServeurDefaillant&) = delete;
    ServeurDefaillant& operator=(const ServeurDefaillant&) = delete;

    int Port() const { return port_; }
    // "127.0.0.1:PORT", à donner comme hôte au transport.
    std::string Hote() const;

    // `chemin` commence par "/" ("/dossier/objet").
    void AjouterFichier(const std::string& chemin, std::string contenu);

    // Octets [debut, fin) inversés (XOR 0xFF) dans les k premières réponses qui couvrent
    // au moins l'un d'eux ; plusieurs zones s'ajoutent.
    void Corrompre(const std::string& chemin, std::uint64_t debut, std::uint64_t fin, int k);
    // Coupe la connexion après `octets` octets du corps, pour les k premières requêtes.
    void CouperApres(const std::string& chemin, std::uint64_t octets, int k = Toujours);
    // Répond ce statut (corps court) aux k premières requêtes.
    void RepondreStatut(const std::string& chemin, int statut, int k = Toujours);
    // Répond ce statut pendant `duree` à partir de la première requête suivante.
    void RepondreStatutPendant(const std::string& chemin, int statut,
                               std::chrono::milliseconds duree);
    // En-tête Retry-After joint aux réponses de statut imposé.
    void DemanderAttente(const std::string& chemin, std::string valeur);
    // 401 + WWW-Authenticate Basic tant que l'en-tête Authorization ne porte pas ces identifiants.
    void ExigerIdentifiants(const std::string& chemin, std::string utilisateur,
                            std::string motDePasse);
    // Réponse complète et bien formée mais courte : au plus `octets` octets du corps, avec
    // Content-Range et Content-Length de ce qui est envoyé, pour les k requêtes qui
    // suivent les `sautees` premières.
    void Raccourcir(const std::string& chemin, std::uint64_t octets, int k = Toujours,
                    int sautees = 0);
    // Ignore Range : 200 avec le fichier entier.
    void IgnorerPlage(const std::string& chemin);
    // Sert la plage décalée de `ecart` octets, avec le Content-Range de ce qui est servi.
    void DecalerPlage(const std::string& chemin, std::int64_t ecart);
    // Envoie `octets` octets du corps puis plus rien, jusqu'à l'arrêt du serveur (60 s au
    // plus), pour les k requêtes qui suivent les `sautees` premières.
    void Bloquer(const std::string& chemin, std::uint64_t octets, int k = Toujours,
                 int sautees = 0);
    // Envoie le corps par blocs de `bloc` octets séparés de `pause`.
    void Ralentir(const std::string& chemin, std::size_t bloc, std::chrono::milliseconds pause);
    // En-tête Content-Encoding joint aux réponses 2xx, le corps restant tel quel
    // (un serveur qui compresse malgré Accept-Encoding: identity).
    void Encoder(const std::string& chemin, std::string encodage);
    // En-têtes de réponse de `octets` octets en tout, en lignes de `ligne` octets.
    void GonflerEntetes(const std::string& chemin, std::size_t octets, std::size_t ligne);
    // Retire toutes les pannes du chemin.
    void Reparer(const std::string& chemin);

    int Requetes() const;
    int Requetes(const std::string& chemin) const;
    std::vector<PlageServie> Plages(const std::string& chemin) const;
    // Instants d'arrivée des requêtes du chemin.
    std::vector<std::chrono::steady_clock::time_point> Arrivees(const std::string& chemin) const;
    // En-têtes de la dernière requête reçue (noms tels que reçus).
    std::multimap<std::string, std::string> DernieresEntetes() const;
    // Valeur d'un en-tête de la dernière requête (nom sans casse), vide si absent.
    std::string DerniereEntete(const std::string& nom) const;
    // Remet à zéro compteurs et plages notées.
    void OublierRequetes();

  private:
    struct Etat;
    std::unique_ptr<Etat> etat_;
    int port_ = 0;
};

} // namespace emporteur::test
