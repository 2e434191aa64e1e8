#pragma once
// Transport d'un objet distant : Ouvrir prépare la demande sans trafic, puis chaque
// LirePlage envoie un GET avec sa plage sur la même poignée (connexion gardée) et
// rend Reussi / Reprendre / Abandon avec un message français dans `message`, coupé
// à tailleZone − 1 octets. N'écrit jamais plus de `longueur` octets dans le tampon ;
// ne lève jamais d'exception. Un seul fil à la fois par transfert.

#include "commun/ParametresConnexion.h"
#include "foundation/InterfaceUtilisateur.h"
#include "http/MoteurHttp.h"
#include "http/ReceptionPlage.h"
#include "http/ResultatTransfert.h"
#include "http/SurveillanceDebit.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace emporteur {

class TransfertHttp {
  public:
    using Rappel = std::function<void(std::uint32_t recusJusquIci)>;

    // `interface` sert à l'invite de connexion et à la question d'identifiants ;
    // nullptr : aucune fenêtre.
    explicit TransfertHttp(InterfaceUtilisateur* ui = nullptr, Rappel rappel = {});
    virtual ~TransfertHttp();
    TransfertHttp(const TransfertHttp&) = delete;
    TransfertHttp& operator=(const TransfertHttp&) = delete;

    // Silencieux : aucune fenêtre, et une lecture qui n'apporte rien est définitive.
    void FixerSilencieux(bool silencieux) { silencieux_ = silencieux; }

    // `hote` : "hote", "hote:port" ou une base "http://…" / "https://…".
    bool Ouvrir(const std::string& hote, const std::string& dossier, const std::string& objet,
                const ParametresConnexion& connexion, std::string& message,
                std::size_t tailleZone = 1024);

    // Octets decalage … decalage + longueur − 1 de l'objet dans `tampon`.
    ResultatTransfert LirePlage(void* tampon, std::uint32_t longueur, std::uint32_t decalage,
                                std::string& message, std::size_t tailleZone = 1024);

    // Octets decalage … decalage + longueur − 1 livrés à `livrer` au fil de leur arrivée,
    // en une seule requête. Mêmes codes que LirePlage ; si `livrer` refuse des octets,
    // la requête s'arrête là et rend Reussi (l'appelant sait pourquoi il a refusé).
    ResultatTransfert LireSuite(std::uint32_t decalage, std::uint32_t longueur, Livraison livrer,
                                std::string& message, std::size_t tailleZone = 1024);

    // Pour les LireSuite suivantes : une réponse 200 (plage ignorée) livre tout le
    // corps depuis l'octet 0, jusqu'à `taille` octets, après l'appel de `avis`.
    void AccepterCorpsEntier(std::uint32_t taille, std::function<void()> avis) {
        tailleCorps_ = taille;
        avisCorps_ = std::move(avis);
    }

    // Arrête la lecture en cours au plus tôt ; appelable depuis le rappel ou depuis un
    // autre fil. Le transfert ne lit plus rien ensuite.
    void Interrompre();

    // Les lectures suivantes demandent aux caches une copie fraîche (Cache-Control et
    // Pragma: no-cache) : après un segment corrompu, un mandataire peut servir l'ancienne
    // version d'un fichier remplacé sous le même nom.
    void DemanderCopieFraiche() { copieFraiche_ = true; }

  private:
    struct Lecture;
    class Recepteur;

    std::string Decrire(const EnvoiHttp& envoi) const;
    EnvoiHttp Envoyer(Lecture& lecture);
    ResultatTransfert Lancer(Lecture& lecture);
    ResultatTransfert Lire(Lecture& lecture);
    ResultatTransfert Authentifier(Lecture& lecture);
    ResultatTransfert Aiguiller(Lecture& lecture);
    ResultatTransfert Conclure(const Lecture& lecture, bool incomplet) const;
    bool DemanderIdentifiants(bool mandataire);

    InterfaceUtilisateur* interface_;
    Rappel rappel_;
    std::unique_ptr<MoteurHttp> moteur_; // la plateforme : libcurl ou WinINet
    std::string adresse_;
    std::atomic<bool> abandon_{false};
    bool ouvert_ = false;
    bool silencieux_ = false;
    bool copieFraiche_ = false;
    ReceptionPlage* reception_ = nullptr; // la lecture en cours, pour le récepteur
    std::uint32_t tailleCorps_ = 0;
    std::function<void()> avisCorps_;
    SurveillanceDebit surveillance_{1024, 60};
    bool lent_ = false;              // la requête a été coupée par la surveillance du débit
    bool entetesDemesurees_ = false; // … ou pour des en-têtes démesurés
    std::size_t octetsEntetes_ = 0;
};

// Adresse du mandataire nommé : "http://serveur:port".
std::string AdresseMandataire(const ParametresConnexion& connexion);

// Chemin de l'objet : "dossier/objet", ou l'objet seul si le dossier est vide ;
// les octets interdits dans une adresse sont encodés en %XX.
std::string CheminObjet(const std::string& dossier, const std::string& objet);

} // namespace emporteur
