#pragma once
// Seule porte du noyau vers l'utilisateur et le bureau : boîtes de message,
// identifiants, ouverture d'adresses et de dossiers, choix d'un dossier, fin du
// processus. Mise en œuvre par le frontal Qt, la console et un faux de test.
//
// Fils. BoiteMessage et DemanderIdentifiants peuvent être appelées depuis le fil de
// travail du téléchargement (le transport : invite de connexion, 401/407) ; toutes les
// autres, seulement depuis le fil de l'interface. Une mise en œuvre graphique fait
// poser ces deux questions sur le fil de l'interface et bloque le fil de travail
// jusqu'à la réponse : GuichetQuestions (Poser depuis le fil de travail, Servir depuis
// la boucle d'événements).
//
// Annulation. Pendant que le fil de l'interface attend dans
// TacheTelechargement::Annuler, il ne sert plus sa boucle : Annuler appelle alors
// RefuserQuestionsEnAttente avant chaque essai de prise du verrou d'exécution. Une
// mise en œuvre qui fait attendre le fil de travail y refuse ses questions en attente
// (GuichetQuestions::Refuser) ; la question refusée rend Reponse::Annuler (boîte) ou faux
// (identifiants), sans rien montrer. Une tâche annulée ne pose plus aucune question :
// elle se répond ce même refus. Une question déjà affichée finit normalement.

#include "foundation/ConstantesWin32.h"

#include <string>

namespace emporteur {

// Masques des mots de style des boîtes de message (MB_*).
namespace style {
inline constexpr unsigned MASQUE_BOUTONS = 0xF;
inline constexpr unsigned MASQUE_ICONE = 0xF0;
} // namespace style

// Identifiants de réponse des boîtes, ceux de Windows (IDOK…) ; 0 : aucune réponse.
enum class Reponse : int {
    Ok = IDOK,
    Annuler = IDCANCEL,
    Abandonner = IDABORT,
    Reessayer = IDRETRY,
    Ignorer = IDIGNORE,
    Oui = IDYES,
    Non = IDNO,
    Fermer = IDCLOSE,
    Aide = IDHELP,
    Recommencer = IDTRYAGAIN,
    Continuer = IDCONTINUE,
};

// Réponse par défaut d'une boîte : son premier bouton, ou celui que
// MB_DEFBUTTON2/3 désigne.
Reponse ReponseParDefaut(unsigned style);

class InterfaceUtilisateur {
  public:
    virtual ~InterfaceUtilisateur() = default;

    // Boîte de message sans fenêtre propriétaire ; rend l'identifiant Windows du bouton.
    virtual Reponse BoiteMessage(const std::string& texte, const std::string& titre,
                                 unsigned style) = 0;

    // Question d'identifiants après un 401 (ou 407 si mandataire). Vrai : réessayer
    // avec les identifiants rendus ; faux : l'utilisateur renonce.
    virtual bool DemanderIdentifiants(const std::string& adresse, bool mandataire,
                                      std::string& utilisateur, std::string& motDePasse) = 0;

    // Ouvre une adresse ou un fichier avec le programme associé (verbe « open »).
    // Faux si rien n'a pu l'ouvrir (aucun programme associé, lancement refusé).
    virtual bool Ouvrir(const std::string& cible) = 0;

    // Ouvre un dossier dans le gestionnaire de fichiers (verbe « explore ») ; faux si
    // aucun gestionnaire n'a pu être lancé.
    virtual bool Explorer(const std::string& dossier) = 0;

    // Vrai si Ouvrir a un moyen d'ouvrir ce fichier (un programme associé à son type) ;
    // une interface qui ne sait pas le dire répond vrai.
    virtual bool SaitOuvrir(const std::string& chemin) {
        (void)chemin;
        return true;
    }

    // Choix d'un dossier ; vrai et le chemin dans `chemin` si l'utilisateur a choisi.
    virtual bool ChoisirDossier(const std::string& titre, std::string& chemin) = 0;

    // Met au premier plan la fenêtre de ce titre si elle existe ; au mieux.
    virtual bool MettreAuPremierPlan(const std::string& titre) = 0;

    // Demande la fin du processus avec ce code. Peut revenir (le frontal graphique
    // ferme son livret et rend ce code en sortant, le faux de test lève) : l'appelant
    // ne fait plus rien ensuite et remonte en échec.
    virtual void TerminerProcessus(int code) = 0;

    // Fil de l'interface, pendant une annulation : refuse les questions que le fil de
    // travail attend encore (voir plus haut). Sans effet pour une mise en œuvre qui
    // répond sur le fil qui pose (la console).
    virtual void RefuserQuestionsEnAttente() {}
};

} // namespace emporteur
