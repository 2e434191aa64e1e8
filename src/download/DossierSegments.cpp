#include "download/DossierSegments.h"

#include "download/EntreesDossier.h"
#include "download/NomCache.h"
#include "download/NomSurDisque.h"
#include "foundation/Fichiers.h"

#include <cstdio>
#include <string_view>
#include <utility>

namespace emporteur {

namespace {
IssueDisque Lecture(int code) { return {IssueDisque::Genre::Lecture, code, 0}; }
IssueDisque Ecriture(int code) { return {IssueDisque::Genre::Ecriture, code, 0}; }
IssueDisque Systeme() { return {IssueDisque::Genre::Systeme, 0, DerniereErreur()}; }

// Le fichier entier n'est remplacé que s'il est absent ou ordinaire : un dossier ou
// un lien symbolique sous son nom reste tel quel.
bool EntierRemplacable(const std::string& nom) {
    const NatureEntree nature = NatureSansSuivre(nom);
    return nature == NatureEntree::Absente || nature == NatureEntree::Fichier;
}
} // namespace

std::string MessageDisque(const IssueDisque& issue) {
    char texte[160];
    switch (issue.genre) {
    case IssueDisque::Genre::Lecture:
        std::snprintf(texte, sizeof texte,
                      "Échec de téléchargement : impossible de lire sur le disque (code %d).",
                      issue.code);
        return texte;
    case IssueDisque::Genre::Ecriture:
        std::snprintf(texte, sizeof texte,
                      "Échec de téléchargement : impossible d'écrire sur le disque : erreur "
                      "code %d.",
                      issue.code);
        return texte;
    case IssueDisque::Genre::Systeme:
        return "Échec de téléchargement : CException(" + DescriptionErreur(issue.erreur) + ").";
    case IssueDisque::Genre::Reussie:
        break;
    }
    return {};
}

bool NomLocalAdmis(const std::string& nom) {
    const bool reserve = nom.size() > kSuffixeAssemblage.size() + 1 && nom.front() == '.' &&
                         nom.ends_with(kSuffixeAssemblage);
    return !nom.empty() && nom != "." && nom != ".." && !reserve &&
           nom.find('/') == std::string::npos && nom.find('\0') == std::string::npos &&
           NomAccepteParLeSysteme(nom);
}

DossierSegments::DossierSegments(std::string dossier, const PlanSegments& plan,
                                 std::string nomLocal)
    : dossier_(std::move(dossier)), plan_(plan), nomLocal_(std::move(nomLocal)) {}

DossierSegments::~DossierSegments() {
    // Une fin interrompue ne laisse pas d'assemblage à moitié écrit.
    if (assemblage_.EstOuvert()) {
        assemblage_.Fermer();
        RetirerNom(NomAssemblage());
    }
}

std::string DossierSegments::NomSegment(std::uint32_t index) const {
    return dossier_ + nomLocal_ + "." + std::to_string(index);
}

std::string DossierSegments::NomAssemblage() const {
    return dossier_ + NomCache(nomLocal_, kSuffixeAssemblage);
}

bool DossierSegments::LireSegment(std::uint32_t index, void* tampon) const {
    const std::uint32_t longueur = plan_.Longueur(index);
    const DescripteurFichier f = DescripteurFichier::OuvrirLectureSansLien(NomSegment(index));
    return f.EstOuvert() && f.LireA(tampon, longueur, 0) == std::int64_t{longueur};
}

bool DossierSegments::EcrireSegment(std::uint32_t index, const void* octets,
                                    std::uint32_t longueur) {
    DescripteurFichier f = DescripteurFichier::CreerNeuf(NomSegment(index));
    return f.EstOuvert() && f.EcrireA(octets, longueur, 0) && f.Fermer();
}

bool DossierSegments::EffacerSegments() {
    bool tous = true;
    for (std::uint32_t i = 0; i < plan_.Nombre(); ++i)
        tous = EffacerFichier(NomSegment(i)) && tous;
    return tous;
}

std::string DossierSegments::LienSymbolique() const {
    const auto estLien = [](const std::string& nom) {
        return NatureSansSuivre(nom) == NatureEntree::Lien;
    };
    if (estLien(NomEntier())) return NomEntier();
    for (std::uint32_t i = 0; i < plan_.Nombre(); ++i)
        if (estLien(NomSegment(i))) return NomSegment(i);
    return {};
}

DossierSegments::Entier DossierSegments::OuvrirEntier() {
    // Recherche littérale : un nom local peut contenir "*" ou "?".
    if (!EntreeExiste(NomEntier())) return Entier::Absent;
    entier_ = DescripteurFichier::OuvrirModification(NomEntier());
    modifiable_ = entier_.EstOuvert();
    if (!modifiable_) entier_ = DescripteurFichier::OuvrirLectureSansLien(NomEntier());
    if (!entier_.EstOuvert() || entier_.Taille() < 0) return Entier::Illisible;
    return modifiable_ ? Entier::Modifiable : Entier::LectureSeule;
}

std::uint64_t DossierSegments::TailleEntier() const {
    const std::int64_t taille = entier_.Taille();
    return taille < 0 ? 0 : static_cast<std::uint64_t>(taille);
}

bool DossierSegments::LireDansEntier(std::uint32_t index, void* tampon,
                                     std::uint32_t longueur) const {
    return entier_.LireA(tampon, longueur, plan_.Debut(index)) == std::int64_t{longueur};
}

bool DossierSegments::PreparerAssemblage() {
    EffacerAssemblage();
    const std::string nom = NomAssemblage();
    DescripteurFichier essai = DescripteurFichier::CreerNeuf(nom);
    if (!essai.EstOuvert()) return false;
    essai.Fermer();
    return RetirerNom(nom);
}

// Le nom est à nous : un lien qui l'occupe est retiré (sa cible reste intacte).
void DossierSegments::EffacerAssemblage() {
    const std::string nom = NomAssemblage();
    const NatureEntree nature = NatureSansSuivre(nom);
    if (nature == NatureEntree::Fichier || nature == NatureEntree::Lien) RetirerNom(nom);
}

void DossierSegments::CommencerAssemblage() {
    if (modifiable_) return; // le fichier entier est réparé sur place : rien à avancer
    enCours_ = std::make_unique<AssemblageEnCours>();
    enCours_->Ouvrir(NomAssemblage(), plan_);
}

void DossierSegments::Placer(std::uint32_t index, const char* octets, std::uint32_t longueur) {
    if (enCours_) enCours_->Placer(index, octets, longueur);
}

void DossierSegments::PlacerVerifie(std::uint32_t index, SourceSegment source) {
    if (!enCours_ || enCours_->Places() != index) return;
    if (source == SourceSegment::Entier) {
        enCours_->PlacerDepuis(index, entier_, plan_.Debut(index));
        return;
    }
    const DescripteurFichier segment = DescripteurFichier::OuvrirLectureSansLien(NomSegment(index));
    enCours_->PlacerDepuis(index, segment, 0);
}

IssueDisque DossierSegments::CommencerFin() {
    if (modifiable_) return {};
    finParAssemblage_ = true;
    const bool avance = enCours_ && enCours_->Actif();
    if (enCours_) enCours_->Finir();
    dejaPlaces_ = avance ? enCours_->Places() : 0;
    if (!avance) enCours_.reset();
    if (!EntierRemplacable(NomEntier())) return Ecriture(3);
    if (!avance) {
        assemblage_ = DescripteurFichier::CreerNeuf(NomAssemblage());
        if (!assemblage_.EstOuvert()) return Ecriture(3);
    }
    return {};
}

const DescripteurFichier& DossierSegments::FichierFinal() const {
    if (!finParAssemblage_) return entier_;
    return enCours_ ? enCours_->Descripteur() : assemblage_;
}

// La longueur prévue seulement : un fichier de segment trop long ne doit ni allonger
// le fichier entier ni imposer un tampon démesuré.
IssueDisque DossierSegments::CopierSegment(std::uint32_t index, const DescripteurFichier& source,
                                           std::uint64_t position, DescripteurFichier& cible) {
    if (!source.EstOuvert()) return Lecture(3);
    const std::uint32_t longueur = plan_.Longueur(index);
    const std::int64_t copie = CopierPlage(source, position, cible, plan_.Debut(index), longueur);
    if (copie < 0) return Systeme();
    if (copie < std::int64_t{longueur}) return Lecture(4);
    return {};
}

IssueDisque DossierSegments::FinirSegment(std::uint32_t index, SourceSegment source) {
    if (modifiable_) {
        if (source == SourceSegment::Entier) return {}; // déjà bon à sa place
        DescripteurFichier segment = DescripteurFichier::OuvrirLectureSansLien(NomSegment(index));
        // Le segment doit survivre à une panne avant que sa place dans le fichier
        // entier soit touchée.
        if (segment.EstOuvert() && !segment.Synchroniser()) return Systeme();
        return CopierSegment(index, segment, 0, entier_);
    }
    if (index < dejaPlaces_) return {};
    auto& cible = enCours_ ? enCours_->Descripteur() : assemblage_;
    if (source == SourceSegment::Entier)
        return CopierSegment(index, entier_, plan_.Debut(index), cible);
    const DescripteurFichier segment = DescripteurFichier::OuvrirLectureSansLien(NomSegment(index));
    return CopierSegment(index, segment, 0, cible);
}

IssueDisque DossierSegments::Publier() {
    if (modifiable_) {
        // Un fichier trop long perd ce qui dépasse le plan ; le reste est déjà juste.
        if ((TailleEntier() > plan_.Taille() && !entier_.Tronquer(plan_.Taille())) ||
            !entier_.Synchroniser())
            return Systeme();
        return {};
    }
    auto& cible = enCours_ ? enCours_->Descripteur() : assemblage_;
    const std::string nom = NomAssemblage();
    // L'ancien fichier entier, lu jusqu'ici, est fermé : Windows ne remplace pas un
    // fichier ouvert.
    entier_.Fermer();
    if (!cible.Synchroniser() || !cible.Fermer() || !RemplacerAtomiquement(nom, NomEntier())) {
        const IssueDisque echec = Systeme();
        RetirerNom(nom);
        return echec;
    }
    if (enCours_) enCours_->Publie();
    // Le renommage lui-même doit survivre à une panne avant que les segments s'effacent.
    SynchroniserDossier(dossier_);
    return {};
}

} // namespace emporteur
