#include "http/ChargerTexte.h"

#include "foundation/Texte.h"
#include "http/TransfertHttp.h"

#include <limits>

namespace emporteur {

bool ChargerTexte(const AccesServeur& acces, const std::string& hote, const std::string& dossier,
                  const std::string& objet, std::string& texte, std::size_t capacite) {
    texte.clear();
    // La capacité compte le zéro final des appelants : au plus capacité − 1 octets de texte.
    const auto longueur = static_cast<std::uint32_t>(
        std::min<std::size_t>(capacite, std::numeric_limits<std::uint32_t>::max()));
    if (longueur < 2) {
        texte = CouperUtf8("Erreur indéterminée de téléchargement : code = 22.",
                           capacite ? capacite - 1 : 0);
        return false;
    }
    TransfertHttp transfert(&acces.Interface);
    transfert.FixerSilencieux(acces.Discret);
    std::string message;
    if (!transfert.Ouvrir(hote, dossier, objet, acces.Connexion, message, capacite)) {
        texte = message;
        return false;
    }
    std::string tampon(longueur, '\0');
    auto resultat = transfert.LirePlage(tampon.data(), longueur, 0, message, 1023);
    if (resultat.Code == CodeTransfert::Reprendre)
        resultat = transfert.LirePlage(tampon.data(), longueur, 0, message, capacite);
    if (resultat.Code != CodeTransfert::Reussi) {
        texte = message;
        return false;
    }
    if (resultat.Octets >= longueur) {
        texte = CouperUtf8("Erreur de téléchargement : le texte reçu dépasse " +
                               std::to_string(longueur - 1) + " octets.",
                           capacite - 1);
        return false;
    }
    tampon.resize(resultat.Octets);
    texte = std::move(tampon);
    return true;
}

} // namespace emporteur
