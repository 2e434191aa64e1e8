#include "assistant/ModeleListeVersions.h"

#include "catalogue/RecuperationCatalogue.h"
#include "download/FormaterTaille.h"

#include <algorithm>
#include <cstdint>

namespace emporteur {

using namespace liste_versions;

namespace {

// Chaque taille est comptée comme la tâche la comptera (32 bits non signés),
// mais la somme est tenue sur 64 bits : au-delà de 4 Go elle ne repasse pas
// par zéro, ce qui cacherait l'élément ou mentirait sur sa taille.
std::uint64_t TailleTotale(const Recette& recette) {
    std::uint64_t total = 0;
    for (const auto& f : recette.Fichiers)
        total += static_cast<std::uint32_t>(f->Taille);
    return total;
}

std::string TexteMega(std::uint64_t octets) {
    std::string texteOctets, texteMega;
    FormaterTailleLongue(octets, texteOctets, texteMega);
    return texteMega;
}

std::string Introduction(const ContexteTelechargement& ctx) {
    if (ctx.ModeMiseANiveau) return "\n\nVeuillez choisir le(s) fichier(s) à télécharger.";
    const std::string offre =
        ctx.IndiceChoisi == -1
            ? "Aucune mise à jour n’est offerte pour votre version d’Orthalis."
            : "La mise à jour la plus appropriée à votre version d’Orthalis est présélectionnée.";
    return "Votre version actuelle d’Orthalis est : " + ctx.VersionAffichee + ".\n\n" + offre +
           "\n\nSi désiré, veuillez choisir les éléments à télécharger :";
}

// La construction en cours : rubrique ouverte et prochaine ligne.
struct Empilement {
    ModeleListeVersions& modele;
    int y;
    int hautLigne = kHautPremiereLigne;
    bool rubriqueOuverte = false;

    int BasLigne() const { return hautLigne + kHauteurLigne; }

    void Fermer() {
        if (!rubriqueOuverte) return;
        RubriqueListe& r = modele.rubriques.back();
        r.hauteur = BasLigne();
        modele.hauteurContenu = r.haut + r.hauteur;
        y = r.haut + r.hauteur - kChevauchement;
        rubriqueOuverte = false;
    }

    void Ouvrir(int id, const std::string& titre) {
        Fermer();
        modele.rubriques.push_back({id, titre, y, 0});
        hautLigne = kHautPremiereLigne;
        rubriqueOuverte = true;
    }

    void AjouterLigne(std::size_t indice, std::string texte, bool cochee) {
        const RubriqueListe& r = modele.rubriques.back();
        modele.lignes.push_back({indice, kIdPremiereLigne + static_cast<int>(indice),
                                 std::move(texte), cochee, modele.rubriques.size() - 1, hautLigne,
                                 BasLigne()});
        if (cochee) modele.positionDerniereCochee = r.haut + BasLigne();
        hautLigne = BasLigne() + kEcartLignes - kHauteurLigne;
    }
};

// La dernière présélection au milieu du cadre, sans dépasser le bas du contenu.
int DecalageInitial(const ModeleListeVersions& m) {
    if (m.miseANiveau || !m.positionDerniereCochee || *m.positionDerniereCochee <= m.hauteurVisible)
        return 0;
    const int cible = *m.positionDerniereCochee - m.hauteurVisible / 2;
    return std::max(0, std::min(cible, m.hauteurContenu - m.hauteurVisible));
}

} // namespace

std::size_t ElementsListes(const ContexteTelechargement& ctx) {
    const std::size_t n = ctx.Recettes.size();
    return ctx.ModeMiseANiveau && n > 0 ? n - 1 : n;
}

ModeleListeVersions ConstruireModeleListe(const ContexteTelechargement& ctx, int hauteurVisible,
                                          int basIntro) {
    ModeleListeVersions modele;
    modele.miseANiveau = ctx.ModeMiseANiveau;
    modele.introduction = Introduction(ctx);
    modele.gaucheRubriques =
        modele.miseANiveau ? kGaucheRubriqueMiseANiveau : kGaucheRubriqueOrdinaire;
    modele.hauteurVisible = hauteurVisible;
    Empilement pile{modele, modele.miseANiveau ? basIntro : 0};
    modele.hauteurContenu = pile.y + kChevauchement;

    std::string titrePrecedent;
    for (std::size_t i = 0; i < ElementsListes(ctx); ++i) {
        const Recette& recette = *ctx.Recettes[i];
        const std::string mega = TexteMega(TailleTotale(recette));
        if (mega == "0,00" || recette.Description.empty()) continue;
        if (modele.miseANiveau) {
            if (!pile.rubriqueOuverte) pile.Ouvrir(kIdCadreMiseANiveau, recette.Titre);
        } else if (!pile.rubriqueOuverte || recette.Titre != titrePrecedent) {
            pile.Ouvrir(kIdPremiereRubrique + static_cast<int>(modele.rubriques.size()),
                        recette.Titre);
        }
        titrePrecedent = recette.Titre;
        const bool cochee =
            (modele.miseANiveau && i == 0) || EstRecetteAppropriee(ctx, static_cast<int>(i));
        pile.AjouterLigne(i, recette.Description + " (" + mega + " mégaoctets)", cochee);
    }
    pile.Fermer();
    modele.decalage = DecalageInitial(modele);
    return modele;
}

} // namespace emporteur
