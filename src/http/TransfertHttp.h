#pragma once
// Transport d'un objet distant : Ouvrir prépare la demande sans trafic, puis chaque
// LirePlage envoie un GET avec sa plage sur la même poignée (connexion gardée) et
// rend Reussi / Reprendre / Abandon avec un message français dans `message`, coupé
// à tailleZone − 1 octets. N'écrit jamais plus de `longueur` octets dans le tampon ;
// ne lève jamais d'exception. Un seul fil à la fois par transfert.

#include "commun/ParametresConnexion.h"
#include "foundation/InterfaceUtilisateur.h"
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

    // Arrête la lecture en cours au prochain bloc ; appelable depuis le rappel.
    void Interrompre() { abandon_ = true; }

    // Les lectures suivantes demandent aux caches une copie fraîche (Cache-Control et
    // Pragma: no-cache) : après un segment corrompu, un mandataire peut servir l'ancienne
    // version d'un fichier remplacé sous le même nom.
    void DemanderCopieFraiche() { copieFraiche_ = true; }

  private:
    struct Poignee;
    struct Lecture;

    bool Preparer(const std::string& hote, const std::string& chemin,
                  const ParametresConnexion& connexion, int& etape, std::string& erreur);
    int PreparerMandataire(const ParametresConnexion& connexion);
    int PreparerSecurite(const ParametresConnexion& connexion);
    int RelierRappels();
    int FixerEntetes();
    std::string Decrire(int code, const ReceptionPlage& reception) const;
    int Envoyer(ReceptionPlage& reception);
    ResultatTransfert Lancer(Lecture& lecture);
    ResultatTransfert Lire(Lecture& lecture);
    ResultatTransfert Authentifier(Lecture& lecture);
    ResultatTransfert Aiguiller(Lecture& lecture);
    ResultatTransfert Conclure(const Lecture& lecture, bool incomplet) const;
    bool DemanderIdentifiants(bool mandataire);

    static std::size_t RecevoirCorps(char* octets, std::size_t, std::size_t n, void* moi);
    static std::size_t RecevoirEntete(char* octets, std::size_t, std::size_t n, void* moi);
    static int SuivreProgression(void* moi, long long, long long, long long, long long);

    InterfaceUtilisateur* interface_;
    Rappel rappel_;
    std::unique_ptr<Poignee> poignee_;
    std::string adresse_, mandataire_;
    std::atomic<bool> abandon_{false};
    bool ouvert_ = false;
    bool silencieux_ = false;
    bool copieFraiche_ = false;
    ReceptionPlage* reception_ = nullptr; // la lecture en cours, pour les rappels de libcurl
    std::uint32_t tailleCorps_ = 0;
    std::function<void()> avisCorps_;
    SurveillanceDebit surveillance_{1024, 60};
    bool lent_ = false;              // la requête a été coupée par la surveillance du débit
    bool entetesDemesurees_ = false; // … ou pour des en-têtes démesurés
    std::size_t octetsEntetes_ = 0;
};

// Adresse du mandataire donnée à libcurl : "http://serveur:port".
std::string AdresseMandataire(const ParametresConnexion& connexion);

// Chemin de l'objet : "dossier/objet", ou l'objet seul si le dossier est vide ;
// les octets interdits dans une adresse sont encodés en %XX.
std::string CheminObjet(const std::string& dossier, const std::string& objet);

} // namespace emporteur
