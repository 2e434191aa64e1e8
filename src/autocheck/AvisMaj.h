#pragma once
// L'avis de mise à jour : textes et états de la boîte, calculés ici pour que la
// fenêtre ne fasse qu'afficher ; et la question « exécuter quand même ».

#include "commun/ContexteTelechargement.h"
#include "commun/ModeExecution.h"

#include <string>

namespace emporteur {

// Fins de l'avis, aux valeurs de la boîte d'origine (1 : OK de la plateforme).
enum class FinAvis : int {
    PlusTard = 0,
    Ok = 1,
    MiseAJour = 2,
    MiseANiveau = 3,
};

struct EtatAvis {
    std::string legende;      // titre de la fenêtre
    std::string texteVersion; // "Vous utilisez %s."
    std::string question;
    std::string libelleFermer; // "Plus tard", ou "OK" quand la case est cochée
    bool miseANiveauActif = false;
    bool miseAJourActif = false;
    bool caseVisible = true; // « Ne plus aviser »
};

EtatAvis PreparerAvis(const ContexteTelechargement& ctx, bool miseAJour, bool miseANiveau,
                      ModeExecution mode);

// La case « Ne plus aviser » change : libellé du bouton et drapeau du contexte.
void CocherNePlusAviser(ContexteTelechargement& ctx, EtatAvis& etat, bool coche);

// Comment la boîte de l'avis se ferme. Elle n'a pas de case de fermeture.
enum class FermetureAvis {
    BoutonMiseANiveau,
    BoutonMiseAJour,
    BoutonPlusTard, // « Plus tard » ou « OK »
    Entree,         // presse le bouton par défaut, « Plus tard »
    Echap,
    GestionnaireFenetres, // fermeture demandée par le bureau
};

// La fin de la boîte selon sa fermeture. Échap et le bureau valent « Plus tard » :
// seul le bouton « Mise à jour » lance un téléchargement.
FinAvis FinDeFermeture(FermetureAvis fermeture);

// La boîte de l'avis, que le frontal fournit (fenêtre Qt, console, faux de test).
class DialogueAvis {
  public:
    virtual ~DialogueAvis() = default;
    // Affiche l'avis de façon modale et rend sa fin.
    virtual FinAvis Afficher(ContexteTelechargement& ctx, bool miseAJour, bool miseANiveau,
                             ModeExecution mode) = 0;
};

// Mode 2 sans nouveauté : demande une seule fois par exécution s'il faut lancer
// l'assistant quand même ; vrai sur Oui (ou sans question après la première).
bool ExecuterQuandMeme(ContexteTelechargement& ctx);

} // namespace emporteur
