#include "download/EmpreinteFichier.h"

#include "foundation/Empreinte.h"

#include <vector>

namespace emporteur {

namespace {
constexpr std::size_t kBloc = 1 << 20;
} // namespace

bool CalculerEmpreinte(const DescripteurFichier& fichier, Sha256& resultat) {
    if (!fichier.EstOuvert()) return false;
    Empreinte empreinte;
    std::vector<char> tampon(kBloc);
    for (std::uint64_t position = 0;;) {
        const std::int64_t lus = fichier.LireA(tampon.data(), tampon.size(), position);
        if (lus < 0) return false;
        if (lus == 0) break;
        empreinte.Ajouter(tampon.data(), static_cast<std::size_t>(lus));
        position += static_cast<std::uint64_t>(lus);
    }
    resultat = empreinte.Finir();
    return true;
}

bool EmpreinteConforme(const DescripteurFichier& fichier, const std::string& attendue) {
    Sha256 voulue{}, lue{};
    return LireHexadecimal(attendue, voulue) && CalculerEmpreinte(fichier, lue) && lue == voulue;
}

bool EmpreinteFichierConforme(const std::string& chemin, const std::string& attendue) {
    return EmpreinteConforme(DescripteurFichier::OuvrirLecture(chemin), attendue);
}

} // namespace emporteur
