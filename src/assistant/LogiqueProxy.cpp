#include "assistant/LogiqueProxy.h"

#include "foundation/LectureDecimale.h"
#include "foundation/Registre.h"

#include <algorithm>
#include <limits>

namespace emporteur {

namespace {
constexpr const char* kCleProxy = "Software\\Mervane\\Orthalis\\Emporteur";
// Le réglage du système était lu dans 260 octets annoncés pour 259 de données.
constexpr std::size_t kDonneesReglage = 259;
} // namespace

TextesProxy TextesInitiauxProxy() {
    TextesProxy textes;
    std::string reglage;
    if (!LireProxySysteme(reglage)) {
        textes.Port = "80";
        return textes;
    }
    if (reglage.size() + 1 > kDonneesReglage) return textes; // trop long pour être lu : texte vide
    const auto deuxPoints = reglage.find(':');
    if (deuxPoints == std::string::npos) {
        textes.Serveur = reglage;
        return textes;
    }
    textes.Serveur = reglage.substr(0, deuxPoints);
    textes.Port = reglage.substr(deuxPoints + 1);
    return textes;
}

std::int32_t LireEntierDecimal(const std::string& texte) {
    return LireDecimal(texte).Borne();
}

void ConfirmerProxy(ParametresConnexion& parametres, const TextesProxy& textes) {
    parametres.Serveur = textes.Serveur;
    const std::int32_t port = LireEntierDecimal(textes.Port);
    parametres.Port = port == 0 ? 80 : port;
}

void AnnulerProxy(ParametresConnexion& parametres) {
    parametres.Serveur.clear();
    parametres.Port = 80;
    parametres.Utilisateur.clear();
    parametres.MotDePasse.clear();
}

CodeWin32 EnregistrerProxy(const std::string& serveur, std::int32_t port) {
    CleOuverte cle;
    const CodeWin32 code = CreerCle(HKEY_CURRENT_USER, kCleProxy, KEY_READ | KEY_WRITE, cle);
    if (code != ERROR_SUCCESS) return code;
    cle.EcrireTexte("Serveur", serveur);
    cle.EcrireDword("Port", static_cast<std::uint32_t>(port));
    cle.Fermer();
    return ERROR_SUCCESS;
}

} // namespace emporteur
