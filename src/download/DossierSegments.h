#pragma once
// Le magasin des segments d'un fichier dans son dossier de destination : noms
// ("%s%s.%d", l'assemblage réservé), lecture et écriture des fichiers de segments,
// vérification du fichier entier déjà présent, assemblage pendant le téléchargement,
// fin (réparation sur place ou assemblage renommé) et effacement. Rend des issues ;
// la tâche écrit le journal. Aucun échec n'efface un segment.

#include "download/AssemblageEnCours.h"
#include "download/DescripteurFichier.h"
#include "download/PlanSegments.h"

#include <cstdint>
#include <memory>
#include <string>

namespace emporteur {

// Issue d'une opération sur le disque ; le code dit l'étape, comme dans le journal.
struct IssueDisque {
    enum class Genre { Reussie, Lecture, Ecriture, Systeme };
    Genre genre = Genre::Reussie;
    int code = 0;   // Lecture, Ecriture : numéro de l'étape
    int erreur = 0; // Systeme : DerniereErreur()
    bool Reussie() const { return genre == Genre::Reussie; }
};

// La ligne du journal d'un échec ("Échec de téléchargement : …").
std::string MessageDisque(const IssueDisque& issue);

// Un nom local reste dans le dossier (ni "/", ni ".", ni "..", ni NUL, ni ce que le
// système refuse ou comprend autrement : "\", ":", CON… sous Windows) et n'a pas
// la forme d'un nom d'assemblage, qui ferait effacer le fichier d'un autre.
bool NomLocalAdmis(const std::string& nom);

// D'où vient un segment vérifié au moment de finir.
enum class SourceSegment { Fichier, Entier };

class DossierSegments {
  public:
    // Ce que l'on a trouvé sous le nom du fichier entier.
    enum class Entier { Absent, Modifiable, LectureSeule, Illisible };

    // `dossier` finit par "/".
    DossierSegments(std::string dossier, const PlanSegments& plan, std::string nomLocal);
    ~DossierSegments();
    DossierSegments(const DossierSegments&) = delete;
    DossierSegments& operator=(const DossierSegments&) = delete;

    const PlanSegments& Plan() const { return plan_; }
    std::string NomSegment(std::uint32_t index) const;
    std::string NomEntier() const { return dossier_ + nomLocal_; }
    // "." + nom local + ".assemblage", jamais un nom de segment.
    std::string NomAssemblage() const;

    // Vrai seulement si le fichier du segment fournit au moins sa longueur prévue
    // (le surplus est ignoré) dans `tampon`.
    bool LireSegment(std::uint32_t index, void* tampon) const;
    // Fichier de segment neuf (l'ancien retiré, un lien symbolique refusé).
    bool EcrireSegment(std::uint32_t index, const void* octets, std::uint32_t longueur);
    // Tente chaque effacement ; vrai si aucun fichier de segment ne reste.
    bool EffacerSegments();

    // Le premier nom à nous (fichier entier, segments) occupé par un lien symbolique,
    // ou "" : rien n'est lu ni écrit à travers un lien, le fichier est refusé.
    std::string LienSymbolique() const;

    // Ouvre le fichier entier présent : modifiable sur place si c'est un fichier
    // ordinaire à un seul nom, sinon en lecture seule.
    Entier OuvrirEntier();
    std::uint64_t TailleEntier() const;
    // Octets du segment `index` lus dans le fichier entier ; faux si la lecture
    // échoue ou s'arrête avant `longueur`.
    bool LireDansEntier(std::uint32_t index, void* tampon, std::uint32_t longueur) const;
    bool ReparationSurPlace() const { return modifiable_; }

    // Retire un assemblage laissé par une exécution interrompue et vérifie que le
    // dossier accepte un fichier neuf. Sous le verrou du fichier seulement.
    bool PreparerAssemblage();
    void EffacerAssemblage();
    // Assemblage pendant le téléchargement (sauf réparation sur place).
    void CommencerAssemblage();
    void Placer(std::uint32_t index, const char* octets, std::uint32_t longueur);
    void PlacerVerifie(std::uint32_t index, SourceSegment source);

    // Fin en trois temps : Commencer, Finir chaque segment dans l'ordre, Publier.
    // Réparation sur place : seuls les segments venus d'un fichier de segment sont
    // écrits dans le fichier entier (rendus durables d'abord) ; sinon l'assemblage
    // reçoit tout, puis est mis sur le disque et renommé : il paraît entier ou pas.
    IssueDisque CommencerFin();
    IssueDisque FinirSegment(std::uint32_t index, SourceSegment source);
    IssueDisque Publier();
    // Le fichier tel qu'il sera publié (ouvert entre CommencerFin et Publier).
    const DescripteurFichier& FichierFinal() const;

  private:
    IssueDisque CopierSegment(std::uint32_t index, const DescripteurFichier& source,
                              std::uint64_t position, DescripteurFichier& cible);

    std::string dossier_;
    PlanSegments plan_;
    std::string nomLocal_;
    DescripteurFichier entier_;
    bool modifiable_ = false;
    std::unique_ptr<AssemblageEnCours> enCours_;
    DescripteurFichier assemblage_; // fin sans avance
    std::uint32_t dejaPlaces_ = 0;
    bool finParAssemblage_ = false;
};

} // namespace emporteur
