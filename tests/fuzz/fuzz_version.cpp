// Un exécutable vient du disque de l'utilisateur : des octets quelconques ne doivent jamais
// faire planter la lecture de version. Une entrée qui commence par "MZ" est lue comme une
// image PE ; toute autre, comme un bloc VS_VERSIONINFO brut, pour atteindre son décodeur.
#include "foundation/DonneesVersion.h"
#include "foundation/LectureVersion.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    const std::span<const std::uint8_t> octets(donnees, taille);
    emporteur::DonneesVersion d;
    const bool image = taille >= 2 && donnees[0] == 'M' && donnees[1] == 'Z';
    const bool trouvee =
        image ? emporteur::DecoderVersionPe(octets, d) : emporteur::DecoderBlocVersion(octets, d);
    if (!trouvee) return 0;
    std::uint32_t traduction = 0;
    if (d.PremiereTraduction(traduction))
        d.Texte(emporteur::PrefixeTraduction(traduction) + "ProductName");
    for (const auto& table : d.Tables) {
        for (const auto& valeur : table.Valeurs)
            d.Texte("\\StringFileInfo\\" + table.Cle + "\\" + valeur.first);
    }
    return 0;
}
