#pragma once
// Ce que le transport demande à la plateforme (libcurl sous Linux, WinINet sous
// Windows) : préparer une demande GET, l'envoyer avec sa plage et ses en-têtes, faire
// passer la réponse dans un récepteur, changer d'identifiants, couper depuis un autre
// fil. Les statuts, les identifiants, les conclusions et les messages restent dans
// TransfertHttp, communs aux deux.

#include "commun/ParametresConnexion.h"
#include "http/DelaisReseau.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace emporteur {

// Reçoit la réponse au fil de l'eau ; chaque méthode peut demander l'arrêt.
class RecepteurHttp {
  public:
    virtual ~RecepteurHttp() = default;
    // Une ligne d'en-tête, la ligne de statut d'abord ; faux : couper.
    virtual bool Entete(std::string_view ligne) = 0;
    // Octets du corps ; rend moins que n pour couper.
    virtual std::size_t Corps(const char* octets, std::size_t n) = 0;
    // Appelé régulièrement, même sans octets, avec les octets du corps reçus depuis
    // l'envoi ; faux : couper (interruption, débit trop faible).
    virtual bool Continuer(std::uint64_t recus) = 0;
};

enum class IssueEnvoi {
    Fini,          // réponse reçue jusqu'au bout
    Coupe,         // le récepteur a demandé l'arrêt
    NomIntrouvable, // le nom du serveur (ou du mandataire) ne se résout pas
    Certificat,    // certificat refusé : un nouvel essai n'y changera rien
    Echec,         // toute autre panne ; `Description` la dit en français
};

struct EnvoiHttp {
    IssueEnvoi Issue = IssueEnvoi::Fini;
    std::string Description;
};

// Une demande : la plage "début-fin" et les en-têtes à ajouter ("Nom: valeur").
struct DemandeHttp {
    std::string Plage;
    std::vector<std::string> Entetes;
};

class MoteurHttp {
  public:
    virtual ~MoteurHttp() = default;

    // Session, connexion et demande GET pour `adresse` (complète, avec schéma), sans
    // trafic. `etape` avance comme les messages la comptent (101/111 session, 102/112
    // connexion, 13 demande, 15 réglages, 16 fait) ; en cas d'échec, `erreur` dit
    // pourquoi (vide : échec indéterminé).
    virtual bool Preparer(const std::string& adresse, const ParametresConnexion& connexion,
                          const DelaisReseau& delais, int& etape, std::string& erreur) = 0;

    // Envoie la demande (à nouveau) et fait passer la réponse dans `recepteur`.
    virtual EnvoiHttp Envoyer(const DemandeHttp& demande, RecepteurHttp& recepteur) = 0;

    // Identifiants pour le serveur ou le mandataire, pour les envois suivants.
    virtual bool FixerIdentifiants(bool mandataire, const std::string& utilisateur,
                                   const std::string& motDePasse) = 0;

    // Le mandataire emprunté ("http://cache:3128"), vide sans mandataire : nommé dans
    // la question d'identifiants après un 407.
    virtual std::string Mandataire() const = 0;

    // Depuis un autre fil : fait revenir l'envoi en cours au plus tôt. Le moteur ne
    // sert plus ensuite.
    virtual void Interrompre() = 0;
};

std::unique_ptr<MoteurHttp> CreerMoteurHttp();

} // namespace emporteur
