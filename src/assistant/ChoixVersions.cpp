#include "assistant/ChoixVersions.h"

#include "assistant/ModeleListeVersions.h"
#include "messages/ServiceMessages.h"

namespace emporteur {

namespace {
// Le dernier élément de la mise à niveau n'a pas de case : il n'est jamais compté.
bool Cochee(const ContexteTelechargement& ctx, const std::vector<bool>& cochees, std::size_t i) {
    return i < ElementsListes(ctx) && i < cochees.size() && cochees[i];
}
} // namespace

bool AccepterChoixVersions(ContexteTelechargement& ctx, const std::vector<bool>& cochees) {
    for (std::size_t i = 0; i < ElementsListes(ctx); ++i)
        if (Cochee(ctx, cochees, i)) return true;
    const char* texte = ctx.ModeMiseANiveau ? "Aucune mise à niveau n’est sélectionnée."
                                            : "Aucune mise à jour n’est sélectionnée.";
    AfficherMessage(ctx.Interface, 3, Texte(texte), Texte(""), 2);
    return false;
}

void RassemblerChoixVersions(ContexteTelechargement& ctx, const std::vector<bool>& cochees) {
    const std::size_t n = ElementsListes(ctx);
    if (ctx.ModeMiseANiveau) {
        for (std::size_t i = 0; i < n; ++i)
            if (Cochee(ctx, cochees, i)) ctx.Recettes.back()->AjouterFichiersDe(*ctx.Recettes[i]);
        ctx.IndiceChoisi = static_cast<std::int32_t>(n);
        return;
    }
    ctx.IndiceChoisi = -1;
    for (std::size_t i = 0; i < n; ++i) {
        if (!Cochee(ctx, cochees, i)) continue;
        if (ctx.IndiceChoisi == -1)
            ctx.IndiceChoisi = static_cast<std::int32_t>(i);
        else
            ctx.Recettes[static_cast<std::size_t>(ctx.IndiceChoisi)]->AjouterFichiersDe(
                *ctx.Recettes[i]);
    }
}

} // namespace emporteur
