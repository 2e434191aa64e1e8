#pragma once
// Fichier ouvert possédé, fermé à la destruction, limité aux fichiers ordinaires ;
// lectures, écritures et copies complètes. La poignée du système reste opaque : un
// descripteur POSIX, ou une HANDLE sous Windows. En cas d'échec, DerniereErreur()
// garde la cause.

#include <cstddef>
#include <cstdint>
#include <string>

namespace emporteur {

class DescripteurFichier {
  public:
    DescripteurFichier() = default;
    ~DescripteurFichier();
    DescripteurFichier(DescripteurFichier&& autre) noexcept;
    DescripteurFichier& operator=(DescripteurFichier&& autre) noexcept;
    DescripteurFichier(const DescripteurFichier&) = delete;
    DescripteurFichier& operator=(const DescripteurFichier&) = delete;

    // Un dossier ou un tube est refusé sans bloquer.
    static DescripteurFichier OuvrirLecture(const std::string& chemin);
    // Comme OuvrirLecture, mais un lien final (lien symbolique, point de réanalyse)
    // est refusé : dans le dossier de destination, un autre utilisateur pourrait y
    // faire lire son choix.
    static DescripteurFichier OuvrirLectureSansLien(const std::string& chemin);
    // Crée ou tronque ; refuse un lien final, qui mènerait l'écriture hors du
    // dossier de destination.
    static DescripteurFichier Creer(const std::string& chemin);
    // Fichier neuf : un fichier ordinaire du même nom est d'abord retiré du dossier,
    // si bien qu'un lien physique n'est jamais écrit à travers ; un lien ou un
    // dossier est refusé et laissé tel quel. Ouvert en lecture et en écriture.
    static DescripteurFichier CreerNeuf(const std::string& chemin);

    // Fichier existant ouvert en lecture et écriture pour être réparé sur place :
    // refusé s'il est un lien, pas un fichier ordinaire, ou lié sous un autre nom
    // (l'écriture changerait aussi l'autre fichier).
    static DescripteurFichier OuvrirModification(const std::string& chemin);

    bool EstOuvert() const { return poignee_ != kFermee; }
    // -1 si inconnue.
    std::int64_t Taille() const;
    // Octets lus (moins à la fin du fichier), -1 en cas d'erreur.
    std::int64_t LireA(void* tampon, std::size_t n, std::uint64_t position) const;
    bool EcrireA(const void* tampon, std::size_t n, std::uint64_t position);
    bool Tronquer(std::uint64_t taille);
    // Force les octets écrits jusqu'au disque (aussi par une ouverture en lecture).
    bool Synchroniser();
    // Lance l'écriture sur le disque de la plage donnée ; peut attendre le disque,
    // d'où un fil à part chez l'appelant. Sans résultat : ce n'est qu'une avance.
    void LancerEcriture(std::uint64_t debut, std::uint64_t longueur);
    // Faux si la fermeture signale une écriture perdue.
    bool Fermer();

  private:
    // Descripteur ou HANDLE rangé dans un entier ; -1 vaut aussi INVALID_HANDLE_VALUE.
    using Poignee = std::intptr_t;
    static constexpr Poignee kFermee = -1;
    explicit DescripteurFichier(Poignee poignee) : poignee_(poignee) {}
    static DescripteurFichier OuvrirLectureAvec(const std::string& chemin, bool sansLien);
    // Ferme la poignée du système (close ou CloseHandle).
    static void Liberer(Poignee poignee);
    friend std::int64_t CopierPlage(const DescripteurFichier&, std::uint64_t, DescripteurFichier&,
                                    std::uint64_t, std::uint64_t);
    Poignee poignee_ = kFermee;
};

// Copie `n` octets dans le noyau quand il le permet, sinon par un tampon borné.
// Octets copiés (moins si la source finit avant), -1 en cas d'erreur.
std::int64_t CopierPlage(const DescripteurFichier& source, std::uint64_t positionSource,
                         DescripteurFichier& cible, std::uint64_t positionCible, std::uint64_t n);
// La même copie, toujours par un tampon d'au plus 1 Mio.
std::int64_t CopierPlageParTampon(const DescripteurFichier& source, std::uint64_t positionSource,
                                  DescripteurFichier& cible, std::uint64_t positionCible,
                                  std::uint64_t n);

// Code de la dernière erreur du système sur ce fil (errno, ou GetLastError sous
// Windows) : celui que DescriptionErreur sait décrire.
int DerniereErreur();
// Description française d'une erreur système ; "?" sans erreur connue.
std::string DescriptionErreur(int erreur);

} // namespace emporteur
