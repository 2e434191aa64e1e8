#include "assistant/LogiqueDestination.h"

#include "foundation/Chemins.h"
#include "foundation/Fichiers.h"

#include <filesystem>

namespace emporteur {

std::string TexteDestination(const ContexteTelechargement& ctx, const std::string& texteActuel) {
    const Recette* choisie = ctx.RecetteChoisie();
    return choisie ? choisie->Dossier : texteActuel;
}

std::string CompleterDossierChoisi(const std::string& chemin) {
    if (chemin.find(kNomDossierTelechargement) != std::string::npos) return chemin;
    std::string complet = chemin;
    AjouterBarre(complet);
    return complet + kNomDossierTelechargement;
}

std::string ParentExistant(const std::string& texte) {
    std::error_code erreur;
    for (std::filesystem::path p(texte); !p.empty(); p = p.parent_path()) {
        if (std::filesystem::is_directory(p, erreur)) return p.string();
        if (p == p.parent_path()) break;
    }
    return {};
}

std::optional<std::string> ParcourirDestination(InterfaceUtilisateur& ui,
                                                const std::string& texteActuel) {
    std::string chemin = ParentExistant(texteActuel);
    if (!ChoisirDossier(ui, chemin, "Choisissez l’emplacement de sauvegarde :"))
        return std::nullopt;
    return CompleterDossierChoisi(chemin);
}

bool SuivantDestination(ContexteTelechargement& ctx, const std::string& texte) {
    Recette* choisie = ctx.RecetteChoisie();
    if (!choisie) return true;
    if (!DossierExiste(texte)) {
        const Reponse r =
            ctx.Interface.BoiteMessage("Le dossier spécifié n’existe pas.\nDésirez-vous le créer ?",
                                       "Emporteur", MB_YESNO | MB_ICONQUESTION);
        if (r == Reponse::Oui && !CreerDossier(texte))
            ctx.Interface.BoiteMessage("Impossible de créer le dossier indiqué.", "Emporteur",
                                       MB_OK | MB_ICONHAND);
    }
    // Le dossier est testé de nouveau : seul un dossier présent est rangé.
    if (!DossierExiste(texte)) return false;
    std::string dossier = texte;
    AjouterBarre(dossier);
    choisie->Dossier = dossier;
    return true;
}

} // namespace emporteur
