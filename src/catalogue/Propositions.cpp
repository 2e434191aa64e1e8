#include "catalogue/Propositions.h"

#include "commun/Hotes.h"

namespace emporteur {

void ProposerNouvelEmporteur(ContexteTelechargement& ctx) {
    ctx.TropAncien = true;
    const Reponse r = ctx.Interface.BoiteMessage(
        "Cet Emporteur est trop ancien. Souhaitez-vous télécharger le plus récent?", "Emporteur",
        style::MB_ICONHAND | style::MB_YESNO);
    if (r == Reponse::IDYES)
        ctx.Interface.Ouvrir(AdresseSite("telecharger/assistants/Emporteur.exe"));
}

} // namespace emporteur
