#include "assistant/LogiqueModeAdmin.h"

#include "catalogue/SyntaxeCatalogue.h"
#include "crctool/ListeCrc.h"
#include "download/PlanSegments.h"

namespace emporteur {

void EtatModeAdmin::TailleModifiee(const std::string& texte) {
    if (texte.empty()) return;
    // La lecture même des nombres du catalogue, qui relira cette taille.
    tailleSegment_ = LireNombre(texte);
    tailleValide_ = tailleSegment_ != 0;
}

void EtatModeAdmin::FichierChoisi(const std::optional<std::string>& chemin) {
    fichierChoisi_ = chemin.has_value();
    if (chemin) chemin_ = *chemin;
}

// Le champ garde la lecture de l'outil d'origine ; une liste que le téléchargement
// refuserait est dite, avec la règle du plan de segments.
std::string AvertissementPlan(std::uint32_t taille, std::uint32_t tailleSegment) {
    const std::string debut = "Attention : le téléchargement refuserait cette liste (";
    if (!TailleSegmentAdmise(tailleSegment))
        return debut + "taille des segments " + TexteLimiteSegment() + ").";
    if (taille == 0) return debut + "fichier vide).";
    return {};
}

TextesCalculCrc CalculerTextesCrc(const std::string& chemin, std::uint32_t tailleSegment,
                                  const std::atomic<bool>* annulation) {
    ListeCrc liste;
    std::string erreur;
    if (!CalculerListeCrc(chemin, tailleSegment, liste, erreur, annulation))
        return {erreur, {}, {}};
    return {liste.Texte, TexteTaille(liste.Taille), AvertissementPlan(liste.Taille, tailleSegment)};
}

} // namespace emporteur
