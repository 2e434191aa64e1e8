#include "fenetres-win32/ParametresProxy.h"

#include "assistant/LogiqueProxy.h"
#include "fenetres-win32/IdsDialogues.h"

namespace emporteur::win32 {

ParametresProxy::ParametresProxy(ParametresConnexion& parametres)
    : Dialogue(IDD_PROXY), parametres_(parametres) {}

bool ParametresProxy::Initialiser() {
    const TextesProxy textes = TextesInitiauxProxy();
    FixerTexte(IDC_PROXY_SERVEUR, textes.Serveur);
    FixerTexte(IDC_PROXY_PORT, textes.Port);
    return true;
}

// La case de fermeture et Échap arrivent ici en IDCANCEL, comme le bouton Annuler.
bool ParametresProxy::Commande(int id, int) {
    if (id == IDOK) {
        ConfirmerProxy(parametres_, {Texte(IDC_PROXY_SERVEUR), Texte(IDC_PROXY_PORT)});
        Finir(IDOK);
        return true;
    }
    if (id == IDCANCEL) {
        AnnulerProxy(parametres_);
        Finir(IDCANCEL);
        return true;
    }
    return false;
}

} // namespace emporteur::win32
