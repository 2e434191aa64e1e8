#pragma once
// Un fichier téléchargeable du catalogue, avec la liste CRC-32 de ses segments.

#include <cstdint>
#include <string>
#include <vector>

namespace emporteur {

struct Ingredient {
    std::string Site;       // hôte HTTP qui sert le fichier
    std::string Repertoire; // dossier du fichier sur ce serveur
    std::string NomDistant; // objet demandé au serveur
    std::string NomLocal;   // nom du fichier dans le dossier de destination
    std::vector<std::uint32_t> Crcs;
    std::int32_t Taille = 0;
    std::int32_t TailleSegment = 0;
    std::string Empreinte; // "sha256=" : 64 chiffres hexadécimaux, vide sans empreinte
    bool ALancer = false;
    bool EstReussi = false;
    bool EmpreinteVerifiee = false; // le fichier entier a eu son empreinte dans cette exécution
};

} // namespace emporteur
