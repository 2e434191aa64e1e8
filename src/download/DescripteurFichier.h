#pragma once
// Descripteur POSIX possédé, fermé à la destruction, limité aux fichiers
// ordinaires ; lectures, écritures et copies complètes, errno conservé en cas d'échec.

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
    // Comme OuvrirLecture, mais un lien symbolique final est refusé (ELOOP) : dans le
    // dossier de destination, un autre utilisateur pourrait y faire lire son choix.
    static DescripteurFichier OuvrirLectureSansLien(const std::string& chemin);
    // Crée ou tronque ; refuse un lien symbolique final, qui mènerait l'écriture
    // hors du dossier de destination.
    static DescripteurFichier Creer(const std::string& chemin);
    // Fichier neuf : un fichier ordinaire du même nom est d'abord retiré du dossier,
    // si bien qu'un lien physique n'est jamais écrit à travers ; un lien symbolique
    // ou un dossier est refusé et laissé tel quel.
    static DescripteurFichier CreerNeuf(const std::string& chemin);

    // Fichier existant ouvert en lecture et écriture pour être réparé sur place :
    // refusé s'il est un lien symbolique, pas un fichier ordinaire, ou lié sous un
    // autre nom (l'écriture changerait aussi l'autre fichier).
    static DescripteurFichier OuvrirModification(const std::string& chemin);

    bool EstOuvert() const { return fd_ >= 0; }
    int Fd() const { return fd_; }
    // -1 si inconnue.
    std::int64_t Taille() const;
    // Octets lus (moins à la fin du fichier), -1 en cas d'erreur.
    std::int64_t LireA(void* tampon, std::size_t n, std::uint64_t position) const;
    bool EcrireA(const void* tampon, std::size_t n, std::uint64_t position);
    bool Tronquer(std::uint64_t taille);
    // Force les octets écrits jusqu'au disque.
    bool Synchroniser();
    // Faux si la fermeture signale une écriture perdue.
    bool Fermer();

  private:
    explicit DescripteurFichier(int fd) : fd_(fd) {}
    static DescripteurFichier OuvrirLectureAvec(const std::string& chemin, int drapeaux);
    int fd_ = -1;
};

// Copie `n` octets dans le noyau quand il le permet, sinon par un tampon borné.
// Octets copiés (moins si la source finit avant), -1 en cas d'erreur.
std::int64_t CopierPlage(const DescripteurFichier& source, std::uint64_t positionSource,
                         DescripteurFichier& cible, std::uint64_t positionCible, std::uint64_t n);

// Description française d'une erreur système ; "?" sans erreur connue.
std::string DescriptionErreur(int erreur);

} // namespace emporteur
