#pragma once
// Reçoit la réponse à une demande de plage dans le tampon de l'appelant, ou la livre
// au fil de l'eau : suit les en-têtes de chaque réponse (authentification,
// redirection), n'accepte un 206 que si son Content-Range commence au décalage
// demandé et tient dans la longueur, prend d'un 200 les octets décalage… décalage +
// longueur − 1, et ne rend jamais plus que la longueur demandée. Un corps compressé
// malgré Accept-Encoding: identity est refusé dès son premier octet.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace emporteur {

// Pourquoi la réception a refusé des octets (ce qui arrête le transfert).
enum class ArretReception {
    Aucun,
    Complet,          // tampon plein, la suite ne sert à rien
    PlageIncoherente, // 206 sans Content-Range conforme à la demande
    CorpsIgnore,      // corps d'une réponse d'erreur trop long pour être vidé
    Refus,            // le destinataire des octets n'en veut plus
    Compresse,        // 2xx au Content-Encoding autre qu'identity : octets inutilisables
};

// Reçoit, dans l'ordre, les octets utiles d'une réponse 2xx ; faux arrête le transfert.
using Livraison = std::function<bool(const char* octets, std::size_t n)>;

class ReceptionPlage {
  public:
    ReceptionPlage(void* tampon, std::uint32_t longueur, std::uint64_t decalage);
    // Sans tampon : chaque morceau utile va à `livrer` dès son arrivée.
    ReceptionPlage(Livraison livrer, std::uint32_t longueur, std::uint64_t decalage);

    // Un 2xx sans plage livre alors tout le corps depuis l'octet 0, jusqu'à `taille`
    // octets, après l'appel de `avis` (avant le premier octet) ; sans cela, seule la
    // plage demandée en est prise.
    void AccepterCorpsEntier(std::uint32_t taille, std::function<void()> avis);

    // Une ligne d'en-tête telle que reçue (avec ou sans CRLF).
    void LigneEntete(std::string_view ligne);
    // Octets du corps ; rend moins que n pour arrêter le transfert.
    std::size_t Recevoir(const char* octets, std::size_t n);

    bool StatutRecu() const { return statut_ != 0; }
    std::int32_t Statut() const { return statut_; }
    std::uint32_t Recus() const { return recus_; }
    bool CorpsCommence() const { return corpsCommence_; }
    ArretReception Arret() const { return arret_; }
    // Valeur brute de l'en-tête Retry-After de la dernière réponse, vide sans lui.
    const std::string& RetryAfter() const { return retryAfter_; }
    // Content-Encoding de la dernière réponse s'il n'est ni absent ni identity
    // (caractères imprimables seulement, 40 au plus), vide sinon.
    const std::string& Encodage() const { return encodage_; }

  private:
    bool Accepter2xx();
    std::size_t Stocker(const char* octets, std::size_t n);
    bool Livrer(const char* octets, std::size_t n);

    unsigned char* tampon_;
    Livraison livrer_;
    std::uint32_t longueur_;
    std::uint64_t decalage_;
    std::int32_t statut_ = 0;
    bool plagePresente_ = false;
    std::uint64_t plageDebut_ = 0, plageFin_ = 0;
    bool corpsCommence_ = false;
    std::uint64_t aSauter_ = 0;
    std::uint32_t recus_ = 0;
    std::size_t ignores_ = 0;
    ArretReception arret_ = ArretReception::Aucun;
    std::string retryAfter_;
    std::uint32_t tailleCorps_ = 0;
    std::function<void()> avisCorps_;
    std::string encodage_;
};

// Lit "bytes début-fin/total" (total ou "*") ; faux si la valeur est mal formée.
bool LireContentRange(std::string_view valeur, std::uint64_t& debut, std::uint64_t& fin);

} // namespace emporteur
